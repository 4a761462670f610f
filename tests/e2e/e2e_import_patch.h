// Redirects one module's calls of an imported function: the module's import address table entry is
// overwritten, so the module itself calls the replacement while every other module, the system's
// DLLs included, keeps calling the real function.
#pragma once

#include <windows.h>

namespace e2e {

// The import address table entry through which `module` calls `function` of `dll` (compared without
// regard to case), imported by name; nullptr when it has none.
void** ImportSlot(HMODULE module, const char* dll, const char* function);

// Puts `replacement` into the entry and returns what was there.
void* ReplaceImport(void** slot, void* replacement);

}  // namespace e2e
