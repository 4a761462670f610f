#include "win32_dll_search.h"

#include <windows.h>

#include "win32_system_library.h"

namespace autorun {
namespace {

// Set once RestrictDllSearchToSystem has taken the current directory out of the search.
bool currentDirectoryLeftOut = false;

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryWFunction = BOOL(WINAPI*)(LPCWSTR);

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
