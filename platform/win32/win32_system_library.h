// Functions the launcher looks up at run time instead of importing them: some are missing on older
// systems, which would refuse to load a program that imports them, and some sit in a DLL that only a
// rare path needs, which the common path should not pay for loading.
#pragma once

#include <windows.h>

namespace autorun {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the XP headers that the launcher compiles against lack.
constexpr DWORD kSearchSystem32Only = 0x00000800;

// `name` exported by `module`, or nullptr (also when there is no module).
template <typename Function>
Function ExportedFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A kernel32 function that older systems lack, or nullptr there.
template <typename Function>
Function OptionalKernel32Function(const char* name) {
    return ExportedFunction<Function>(GetModuleHandleW(L"kernel32.dll"), name);
}

// A DLL loaded from System32 only, never from the launcher's folder or the current directory (a
// disc, a USB stick, a downloads folder, where anyone may have placed a DLL of that name), and freed
// when this goes.  Where the system can, the loader is told to search System32 alone; elsewhere the
// DLL is named by its full path there.
class SystemLibrary {
   public:
    explicit SystemLibrary(const wchar_t* fileName);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    bool loaded() const { return module_ != nullptr; }
    // nullptr when the library could not be loaded or lacks the function.
    template <typename Function>
    Function Find(const char* name) const {
        return ExportedFunction<Function>(module_, name);
    }

   private:
    HMODULE module_;
};

}  // namespace autorun
