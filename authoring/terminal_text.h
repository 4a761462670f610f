// Texts from a disc shown on a terminal: names and labels come from whoever made the disc.
#pragma once

#include <string>
#include <string_view>

namespace authoring {

// ASCII control characters (line breaks, escape sequences) become \xNN, so that a text stays on one
// line and can't act on the terminal; everything else, the system's encoding included, stays.
std::string EscapeControlCharacters(std::string_view text);

}  // namespace authoring
