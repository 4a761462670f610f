#include "folder_tree.h"

namespace autorun {
namespace fs = std::filesystem;

std::vector<FolderEntry> ListFolderTree(const fs::path& root) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::recursive_directory_iterator walk(root, error), end;
    for (; !error && walk != end; walk.increment(error)) {
        std::error_code ignored;  // a link that leads nowhere is neither a file nor a folder
        const EntryKind kind = walk->is_directory(ignored)      ? EntryKind::kFolder
                               : walk->is_regular_file(ignored) ? EntryKind::kFile
                                                                : EntryKind::kOther;
        entries.push_back({walk->path().lexically_relative(root), kind});
    }
    if (error) throw FolderTreeError(fs::path(), error.message());
    return entries;
}

fs::path SystemPath(const fs::path& path) {
    return path;
}

fs::path AbsolutePath(const fs::path& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored);
}

}  // namespace autorun
