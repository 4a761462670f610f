// Replacing a file so that it is never seen half-written.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bin2dat {

// A file operation failed; what() says what and why, without naming the file.
class FileError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// Writes `bytes` to a new temporary file in the directory of `path` and then renames it to `path`,
// replacing any file there.  On failure `path` is untouched, the temporary file is removed and
// FileError is thrown.
void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace bin2dat
