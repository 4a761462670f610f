#include "win32_system_library.h"

#include <string>

#include "win32_process_environment.h"

namespace autorun {
namespace {

using AddDllDirectoryFunction = void*(WINAPI*)(LPCWSTR);

HMODULE LoadFromSystem32(const wchar_t* fileName) {
    // The flag exists where AddDllDirectory does (Windows 8 on, Vista and 7 with KB2533623); older
    // loaders don't know it and may search as usual, so they get the full path instead.
    if (OptionalKernel32Function<AddDllDirectoryFunction>("AddDllDirectory"))
        return LoadLibraryExW(fileName, nullptr, kSearchSystem32Only);
    const std::wstring system = SystemDirectory();
    if (system.empty()) return nullptr;
    return LoadLibraryW((system + L"\\" + fileName).c_str());
}

}  // namespace

SystemLibrary::SystemLibrary(const wchar_t* fileName) : module_(LoadFromSystem32(fileName)) {}

SystemLibrary::~SystemLibrary() {
    if (module_) FreeLibrary(module_);
}

}  // namespace autorun
