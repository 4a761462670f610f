// Files written whole: a reader sees the old file or the new one, never a half-written one.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

namespace autorun {

// One piece of a file's contents.
struct FileBytes {
    const void* data;
    std::size_t size;
};

// Writes `parts` one after another to "<path>.part" and renames that to `path`, replacing any file
// there.  On failure the temporary file is removed, `path` is left as it was and false is returned.
bool ReplaceFileContents(const std::wstring& path, std::initializer_list<FileBytes> parts);

}  // namespace autorun
