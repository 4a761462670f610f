#include <algorithm>

#include "folder_tree.h"

namespace autorun {

void RemoveFolderTree(const std::filesystem::path& root) noexcept {
    std::error_code ignored;
    try {
        std::vector<FolderEntry> entries = ListFolderTree(root);
        std::reverse(entries.begin(), entries.end());  // children before their parents
        for (const FolderEntry& entry : entries)
            std::filesystem::remove(SystemPath(root / entry.path), ignored);
    } catch (const std::exception&) {
        std::filesystem::remove_all(root, ignored);  // whatever it can reach
    }
    std::filesystem::remove(SystemPath(root), ignored);
}

}  // namespace autorun
