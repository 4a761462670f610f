// Replacing a file so that it is never seen half-written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace autorun {

// A file operation failed; what() says what and why, without naming the file.
class FileError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// Writes a file through a new temporary file in the directory of its path, which Commit() renames to
// the path, replacing any file there.  Until then the path is untouched; a writer destroyed without
// Commit() removes its temporary file.  Every member throws FileError.
class AtomicFileWriter {
   public:
    // `path` in the system's 8-bit encoding (the ANSI code page on Windows).
    explicit AtomicFileWriter(const std::string& path);
    // Any path Windows allows, past MAX_PATH too.
    explicit AtomicFileWriter(const std::filesystem::path& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(const std::uint8_t* bytes, std::size_t size);
    void Commit();

   private:
    struct State;
    std::unique_ptr<State> state_;
};

// Writes `bytes` to `path` with an AtomicFileWriter: on failure `path` is untouched, the temporary
// file is removed and FileError is thrown.
void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace autorun
