// Command-line arguments in the ANSI code page, the encoding of the texts a disc stores.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace autorun {

// An argument holds a character the ANSI code page lacks; what() says which argument.
class ArgumentEncodingError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// argv[1] onwards of wmain, converted.  A character the code page lacks would otherwise turn into
// "?" or a look-alike without a word, so it throws ArgumentEncodingError instead.
std::vector<std::string> AnsiArguments(int argc, wchar_t** argv);

}  // namespace autorun
