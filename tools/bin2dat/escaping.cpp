#include "escaping.h"

#include "hex_escape.h"

namespace bin2dat {

std::string EscapeBytes(std::string_view bytes) {
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
            autorun::AppendHexEscape(escaped, byte);
        }
    }
    return escaped;
}

}  // namespace bin2dat
