#include "terminal_text.h"

#include "hex_escape.h"

namespace authoring {

std::string EscapeControlCharacters(std::string_view text) {
    return autorun::HexEscape(text, {});
}

}  // namespace authoring
