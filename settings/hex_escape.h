// Bytes that must not reach a terminal as they are, written as \xNN: bin2dat and autorun-disc show
// names from settings files and discs, which come from whoever made them.
#pragma once

#include <string>

namespace autorun {

inline void AppendHexEscape(std::string& out, unsigned char byte) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xf];
}

}  // namespace autorun
