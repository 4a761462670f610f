// Where the process looks for the DLLs that it, or a system DLL on its behalf, loads by name after
// start-up.
#pragma once

namespace autorun {

// Keeps a DLL that someone placed beside the launcher (on a USB stick, in a downloads folder) or in
// its current directory from being loaded in place of a system DLL.  Where the system has
// SetDefaultDllDirectories (Windows 8 on, Vista and 7 with KB2533623), DLLs loaded by name come from
// System32 only; SetDllDirectoryW(L"") takes the current directory out of the search (XP SP1 on).
// Both are looked up at run time, so that the launcher still starts where they are missing.
// Call it first thing, before anything loads a DLL.
void RestrictDllSearchToSystem();

// A process inherits the DLL directory of the process that starts it, so while this lives the
// current directory is back in the search: the started game finds its DLLs where it always did.
// The launcher itself stays restricted where SetDefaultDllDirectories exists, which does not pass
// to children.
class DefaultDllSearchForChildren {
   public:
    DefaultDllSearchForChildren();
    ~DefaultDllSearchForChildren();
    DefaultDllSearchForChildren(const DefaultDllSearchForChildren&) = delete;
    DefaultDllSearchForChildren& operator=(const DefaultDllSearchForChildren&) = delete;
};

}  // namespace autorun
