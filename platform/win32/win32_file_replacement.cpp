#include "win32_file_replacement.h"

#include <windows.h>

#include "win32_handle.h"

namespace autorun {
namespace {

bool WriteAll(HANDLE file, const FileBytes& part) {
    if (part.size > MAXDWORD) return false;
    const DWORD size = static_cast<DWORD>(part.size);
    DWORD written = 0;
    return WriteFile(file, part.data, size, &written, nullptr) && written == size;
}

bool WriteParts(const std::wstring& path, std::initializer_list<FileBytes> parts) {
    const Win32Handle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    for (const FileBytes& part : parts) {
        if (!WriteAll(file.get(), part)) return false;
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::wstring& path, std::initializer_list<FileBytes> parts) {
    const std::wstring temporary = path + L".part";
    // The temporary file is closed before it is renamed or removed.
    if (WriteParts(temporary, parts) &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace autorun
