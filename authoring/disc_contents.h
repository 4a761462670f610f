// What goes onto a disc: its folders and files, each file taken from the game folder or made by the
// tool, before any of it is written.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "file_reading.h"
#include "little_endian.h"

namespace authoring {

// Bad input or a failed write; what() names the file and the problem in one line.
class DiscError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// Paths on the disc are relative std::filesystem paths: on Windows they hold the names as UTF-16, which
// the ANSI code page may not be able to spell.
struct DiscFile {
    std::filesystem::path path;                   // on the disc, relative to its root
    std::optional<std::filesystem::path> source;  // a file to copy, or else...
    Bytes bytes;                                  // ...these bytes
    bool executable = false;                      // mode 0755 where the medium keeps Unix modes
};

struct DiscContents {
    std::string label;                           // what Windows shows as the disc's name
    std::vector<std::filesystem::path> folders;  // parents before their children
    std::vector<DiscFile> files;
};

using autorun::kWholeFile;

// The file's bytes, at most the first `limit` of them, from memory or read from its source.  Throws
// DiscError.
Bytes ReadDiscFile(const DiscFile& file, std::size_t limit = kWholeFile);

// A file, or at most its first `limit` bytes, by a path that may hold names the ANSI code page can't
// spell: autorun::ReadWholeFile with this library's error.  Throws DiscError.
Bytes ReadFileAt(const std::filesystem::path& path, std::size_t limit = kWholeFile);

}  // namespace authoring
