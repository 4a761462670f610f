// The commands of bin2dat, run once the command line is understood.
#pragma once

#include <ostream>
#include <stdexcept>

#include "arguments.h"

namespace bin2dat {

// The command could not do its work; what() names the file and says what went wrong.
class ToolError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// Encodes the texts and replaces arguments.file.  Throws ToolError when the file can't be written.
void WriteCommand(const Arguments& arguments);

// Reads arguments.file as the launcher does and prints what it finds to `out`.  Throws ToolError
// when the launcher would not accept the file.
void ReadCommand(const Arguments& arguments, std::ostream& out);

}  // namespace bin2dat
