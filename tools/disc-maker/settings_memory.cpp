#include "settings_memory.h"

#include <windows.h>

#include "win32_scoped_handle.h"

namespace disc_maker {
namespace {

constexpr wchar_t kKeyPath[] = L"Software\\Autorun\\Disc Maker";

struct KeyClosing {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = autorun::ScopedHandle<HKEY, KeyClosing>;

HKEY OpenKey(bool create) {
    HKEY key = nullptr;
    const LONG result = create ? RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                                 nullptr, &key, nullptr)
                               : RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

std::wstring RememberedFolder(const wchar_t* value) {
    const RegistryKey key(OpenKey(false));
    if (!key.get()) return {};
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), value, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = DWORD(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
        ERROR_SUCCESS)
        return {};
    // The stored string need not end in a null character.
    text.resize(bytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

void RememberFolder(const wchar_t* value, const std::wstring& folder) {
    if (folder.empty()) return;
    const RegistryKey key(OpenKey(true));
    if (!key.get()) return;
    RegSetValueExW(key.get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   DWORD((folder.size() + 1) * sizeof(wchar_t)));
}

}  // namespace disc_maker
