// Bytes that must not reach a terminal as they are, written as \xNN: bin2dat and autorun-disc show
// names from settings files and discs, which come from whoever made them.
#pragma once

#include <string>
#include <string_view>

namespace autorun {

inline void AppendHexEscape(std::string& out, unsigned char byte) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xf];
}

// Which bytes besides ASCII control characters (0x00 to 0x1f and 0x7f), which always become \xNN.
struct HexEscapeRules {
    bool escapeNonAscii = false;    // bytes from 0x80 up become \xNN too, rather than staying
    bool quoteBackslashes = false;  // "\" and '"' get a backslash before them, for a text inside "..."
};

inline std::string HexEscape(std::string_view text, HexEscapeRules rules) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (rules.quoteBackslashes && (byte == '\\' || byte == '"')) {
            escaped += '\\';
            escaped += c;
        } else if (byte < 0x20 || byte == 0x7f || (rules.escapeNonAscii && byte >= 0x80)) {
            AppendHexEscape(escaped, byte);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace autorun
