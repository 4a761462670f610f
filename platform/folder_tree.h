// Folder trees walked and removed through each system's own calls, and paths made ready for them.  On
// Windows the C runtime's directory functions, which std::filesystem's iterators use, stop at MAX_PATH
// and can't take the \\?\ form that lifts it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "atomic_write.h"

namespace autorun {

enum class EntryKind { kFile, kFolder, kOther };

struct FolderEntry {
    std::filesystem::path path;  // relative to the root
    EntryKind kind;
};

// A folder of the tree could not be read; folder() is relative to the root, empty for the root itself.
class FolderTreeError : public FileError {
   public:
    FolderTreeError(std::filesystem::path folder, const std::string& what)
        : FileError(what), folder_(std::move(folder)) {}
    const std::filesystem::path& folder() const { return folder_; }

   private:
    std::filesystem::path folder_;
};

// Everything under `root`, parents before their children.  A link to a folder is listed, not entered.
// Throws FolderTreeError.
std::vector<FolderEntry> ListFolderTree(const std::filesystem::path& root);

// Removes `root` with everything in it, as far as it can; a missing root is no error.
void RemoveFolderTree(const std::filesystem::path& root) noexcept;

// `path` in the form the system's file calls take whatever its length: on Windows a path whose full
// form passes MAX_PATH gets the \\?\ prefix (made absolute first), elsewhere it stays as it is.  Only
// for handing to a file operation: std::filesystem can't take such a path apart.
std::filesystem::path SystemPath(const std::filesystem::path& path);

// `path` made absolute against the current folder.  On Windows a share's path (\\server\share\x) is
// absolute already, which std::filesystem::absolute of MinGW's runtime doesn't know.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

}  // namespace autorun
