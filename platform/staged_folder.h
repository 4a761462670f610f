// Replacing a folder so that it is never seen half-filled: the folder-sized sibling of
// AtomicFileWriter (atomic_write.h), with the same guarantees.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "atomic_write.h"

namespace autorun {

// A new folder beside `target`, filled through WriteFile() and CopyFile(), which Commit() renames to
// `target`.  Until then `target` is untouched; a folder destroyed without Commit() is removed with
// everything in it.  Every member throws FileError, whose text names no path: the caller knows which
// file it was writing.
class StagedFolder {
   public:
    StagedFolder(const std::filesystem::path& target, const char* purpose);
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // `relative` is a path inside the folder; the folders on the way are made too.
    void CreateFolders(const std::filesystem::path& relative);
    void WriteFile(const std::filesystem::path& relative, const std::vector<std::uint8_t>& bytes);
    void CopyFile(const std::filesystem::path& relative, const std::filesystem::path& source);

    // Renames the folder to the target.  An existing target is first moved aside and removed only once
    // the new folder is in its place, so that a failure leaves it as it was.
    void Commit();

   private:
    std::filesystem::path target_;
    std::filesystem::path path_;
};

}  // namespace autorun
