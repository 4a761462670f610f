#include "win32_module_path.h"

#include <windows.h>

namespace autorun {

std::wstring CurrentModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        // A full buffer means the path may have been cut (XP doesn't report ERROR_INSUFFICIENT_BUFFER).
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace autorun
