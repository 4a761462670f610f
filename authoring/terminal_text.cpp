#include "terminal_text.h"

#include "hex_escape.h"

namespace authoring {

std::string EscapeControlCharacters(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            autorun::AppendHexEscape(escaped, byte);
        else
            escaped += c;
    }
    return escaped;
}

}  // namespace authoring
