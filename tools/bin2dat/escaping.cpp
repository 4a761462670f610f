#include "escaping.h"

#include "hex_escape.h"

namespace bin2dat {

std::string EscapeBytes(std::string_view bytes) {
    return autorun::HexEscape(bytes, {.escapeNonAscii = true, .quoteBackslashes = true});
}

}  // namespace bin2dat
