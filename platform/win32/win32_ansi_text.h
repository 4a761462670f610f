// The ANSI code page: the encoding of the texts a disc stores, of the tools' arguments and of
// Windows' 8-bit calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace autorun {

std::wstring WidenFromAnsiCodePage(std::string_view text);

// Nothing when the code page lacks a character: a best-fit look-alike would change a file's name.
std::optional<std::string> NarrowToAnsiCodePage(std::wstring_view text);

// For messages: what the code page lacks becomes "?"; a look-alike could name another file.
std::string NarrowToAnsiCodePageForDisplay(std::wstring_view text);

}  // namespace autorun
