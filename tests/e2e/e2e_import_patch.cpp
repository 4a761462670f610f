#include "e2e_import_patch.h"

namespace e2e {
namespace {

template <typename Pointer>
Pointer At(HMODULE module, ULONG_PTR rva) {
    return reinterpret_cast<Pointer>(reinterpret_cast<BYTE*>(module) + rva);
}

void** SlotOfFunction(HMODULE module, const IMAGE_IMPORT_DESCRIPTOR& imported, const char* function) {
    // Linkers may leave out the lookup table; the address table holds the names until the loader binds.
    const DWORD lookup = imported.OriginalFirstThunk ? imported.OriginalFirstThunk : imported.FirstThunk;
    auto* names = At<IMAGE_THUNK_DATA*>(module, lookup);
    auto* slots = At<IMAGE_THUNK_DATA*>(module, imported.FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* byName = At<const IMAGE_IMPORT_BY_NAME*>(module, names->u1.AddressOfData);
        if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
            return reinterpret_cast<void**>(&slots->u1.Function);
    }
    return nullptr;
}

}  // namespace

void** ImportSlot(HMODULE module, const char* dll, const char* function) {
    if (!module) return nullptr;
    const auto* dos = At<const IMAGE_DOS_HEADER*>(module, 0);
    const auto* nt = At<const IMAGE_NT_HEADERS*>(module, static_cast<ULONG_PTR>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return nullptr;
    for (auto* imported = At<const IMAGE_IMPORT_DESCRIPTOR*>(module, directory.VirtualAddress);
         imported->Name; ++imported) {
        if (lstrcmpiA(At<const char*>(module, imported->Name), dll) != 0) continue;
        if (void** slot = SlotOfFunction(module, *imported, function)) return slot;
    }
    return nullptr;
}

void* ReplaceImport(void** slot, void* replacement) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return nullptr;
    void* const original = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
    return original;
}

}  // namespace e2e
