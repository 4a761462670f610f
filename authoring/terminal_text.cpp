#include "terminal_text.h"

namespace authoring {

std::string EscapeControlCharacters(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            escaped += c;
            continue;
        }
        escaped += "\\x";
        escaped += kHexDigits[byte >> 4];
        escaped += kHexDigits[byte & 0xf];
    }
    return escaped;
}

}  // namespace authoring
