#include <windows.h>

#include "folder_tree.h"
#include "win32_long_path.h"
#include "win32_system_message.h"

namespace autorun {
namespace fs = std::filesystem;

namespace {

class FindHandle {
   public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }

   private:
    HANDLE handle_;
};

// FindFirstFileW's data already says what each entry is, so no entry needs a path call of its own.
void List(const std::wstring& root, const fs::path& relative, std::vector<FolderEntry>& entries) {
    const std::wstring folder = relative.empty() ? root : root + L"\\" + relative.native();
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW(ExtendedLengthPath(folder + L"\\*").c_str(), &found));
    if (find.get() == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return;  // an empty drive root has no "." either
        throw FolderTreeError(relative, SystemMessage(code));
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const fs::path path = relative / name;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back({path, isFolder ? EntryKind::kFolder : EntryKind::kFile});
        if (isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) List(root, path, entries);
    } while (FindNextFileW(find.get(), &found));
    const DWORD code = GetLastError();
    if (code != ERROR_NO_MORE_FILES) throw FolderTreeError(relative, SystemMessage(code));
}

}  // namespace

std::vector<FolderEntry> ListFolderTree(const fs::path& root) {
    std::wstring base = root.native();
    while (base.size() > 1 && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(base.empty() ? L"." : base).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw FolderTreeError(fs::path(), SystemMessage(GetLastError()));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw FolderTreeError(fs::path(), "not a folder");
    std::vector<FolderEntry> entries;
    List(base.empty() ? L"." : base, fs::path(), entries);
    return entries;
}

fs::path SystemPath(const fs::path& path) {
    return fs::path(ExtendedLengthPath(path.native()));
}

fs::path AbsolutePath(const fs::path& path) {
    return fs::path(FullPath(path.native()));
}

}  // namespace autorun
