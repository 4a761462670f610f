#include "launcher_dir.h"

namespace autorun {

std::wstring LauncherDir;

std::wstring DirectoryOfModule(const std::wstring& modulePath) {
    const auto separator = modulePath.find_last_of(L"\\:");
    std::wstring directory =
        separator == std::wstring::npos ? std::wstring() : modulePath.substr(0, separator + 1);
    if (directory.empty() || directory.back() != L'\\') directory += L'\\';
    return directory;
}

}  // namespace autorun
