// The one UTF-8/UTF-16 codec.  Two callers want different things from text that is not valid
// Unicode, so the caller says which:
// - file paths must survive a round trip whatever Windows allows in a name, unpaired surrogates
//   included: generalized UTF-8 (WTF-8) keeps them, and a byte that starts no sequence stands for
//   the code point of its own value;
// - texts shown to people or stored on a disc follow Unicode's rules: a bad byte sequence becomes
//   U+FFFD, and an unpaired surrogate "?".
#pragma once

#include <string>
#include <string_view>

namespace autorun {

enum class InvalidText { kKeep, kReplace };

std::string Utf8FromUtf16(std::u16string_view text, InvalidText invalid);
std::u16string Utf16FromUtf8(std::string_view text, InvalidText invalid);

}  // namespace autorun
