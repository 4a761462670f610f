#include "win32_long_path.h"

#include <windows.h>

namespace autorun {
namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wstring(prefix).size(), prefix) == 0;
}

bool IsExtendedOrDevice(const std::wstring& path) {
    return StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\");
}

}  // namespace

std::wstring ExtendedLengthForm(const std::wstring& full) {
    if (IsExtendedOrDevice(full)) return full;
    if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return full;
}

std::wstring FullPath(const std::wstring& path) {
    if (path.empty() || IsExtendedOrDevice(path)) return path;
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

std::wstring ExtendedLengthPath(const std::wstring& path) {
    const std::wstring full = FullPath(path);
    return full.size() < kLongPathFrom ? path : ExtendedLengthForm(full);
}

}  // namespace autorun
