// A file's or folder's modification time set to a moment given in seconds since 1970 (UTC).
#pragma once

#include <cstdint>
#include <filesystem>

#include "atomic_write.h"

namespace autorun {

// Folders too: on Windows the C runtime's utime, which std::filesystem uses, opens files only.  Throws
// FileError, whose text doesn't name the path.
void SetModificationTime(const std::filesystem::path& path, std::int64_t seconds);

}  // namespace autorun
