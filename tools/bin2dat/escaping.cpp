#include "escaping.h"

namespace bin2dat {

std::string EscapeBytes(std::string_view bytes) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(bytes.size());
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte == '\\' || byte == '"') {
            escaped += '\\';
            escaped += c;
        } else if (byte >= 0x20 && byte < 0x7f) {
            escaped += c;
        } else {
            escaped += "\\x";
            escaped += kHexDigits[byte >> 4];
            escaped += kHexDigits[byte & 0xf];
        }
    }
    return escaped;
}

}  // namespace bin2dat
