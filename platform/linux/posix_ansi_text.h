// Windows-1252, the ANSI code page of western European Windows: what a disc made on Linux stores its
// texts in, since the machine that reads them is not known.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace autorun {

// Nothing when Windows-1252 lacks one of the text's characters.
std::optional<std::string> AnsiFromUtf8(std::string_view text);

// Each byte that Windows-1252 leaves undefined becomes "?".
std::string Utf8FromAnsi(std::string_view ansi);

}  // namespace autorun
