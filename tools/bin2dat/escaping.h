// Shows arbitrary bytes on a terminal without letting them act on it.
#pragma once

#include <string>
#include <string_view>

namespace bin2dat {

// Printable ASCII stays as it is; a backslash and a double quote get a backslash before them;
// every other byte becomes \xNN (two lowercase hex digits).  The result is safe inside "...".
std::string EscapeBytes(std::string_view bytes);

}  // namespace bin2dat
