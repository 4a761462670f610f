#include "win32_dll_search.h"

#include <windows.h>

namespace autorun {
namespace {

// Not in the XP headers that the launcher compiles against.
constexpr DWORD kSearchSystem32Only = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// Set once RestrictDllSearchToSystem has taken the current directory out of the search.
bool currentDirectoryLeftOut = false;

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryWFunction = BOOL(WINAPI*)(LPCWSTR);

// A kernel32 function that older systems lack, or nullptr there.  Importing it would keep the
// launcher from loading at all on those systems.
template <typename Function>
Function OptionalKernel32Function(const char* name) {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (!kernel32) return nullptr;
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)));
}

// nullptr restores the system's default search; L"" leaves the current directory out of it.
bool SetDllDirectoryWhereAvailable(const wchar_t* directory) {
    const auto setDirectory = OptionalKernel32Function<SetDllDirectoryWFunction>("SetDllDirectoryW");
    return setDirectory && setDirectory(directory);
}

}  // namespace

void RestrictDllSearchToSystem() {
    if (const auto setDefault =
            OptionalKernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories"))
        setDefault(kSearchSystem32Only);
    currentDirectoryLeftOut = SetDllDirectoryWhereAvailable(L"");
}

DefaultDllSearchForChildren::DefaultDllSearchForChildren() {
    if (currentDirectoryLeftOut) SetDllDirectoryWhereAvailable(nullptr);
}

DefaultDllSearchForChildren::~DefaultDllSearchForChildren() {
    if (currentDirectoryLeftOut) SetDllDirectoryWhereAvailable(L"");
}

}  // namespace autorun
