// How the launcher starts its game, seen from inside its process, and Windows' refusal to start a
// program that needs elevation, which Wine never gives, made on request.
//
// The launcher's own imports of kernel32's CreateProcessW and GetProcAddress are redirected, so the
// shell32 that the launcher loads still calls the real CreateProcessW.  E2E_INJECT_ELEVATION in the
// environment chooses what happens:
//   (unset)    every call goes through, and is counted
//   required   CreateProcessW fails with ERROR_ELEVATION_REQUIRED, as for an installer on Windows
//   declined   the same, and ShellExecuteExW then fails with ERROR_CANCELLED, as when the user
//              declines the consent prompt
//
// Keys: start_watch_installed; create_process_calls, create_process_program; shell_execute_lookups
// (GetProcAddress asked for ShellExecuteExW), shell_execute_calls and the call's shell_execute_verb,
// _file, _parameters, _directory, _mask, _owner_class (the class of its window), _result, _error;
// shell32_loaded_at_close.
#pragma once

#include <functional>

#include "e2e_support.h"

namespace e2e {

// Records into `report`, and calls `save` whenever it has changed it.  Call once, early; the launcher
// module's imports stay redirected until the process ends.
void WatchGameStart(KeyValues& report, std::function<void()> save);

// At the launcher window's destruction: whether shell32 is still loaded, which only the fallback
// through the shell may have done, and should have undone.
void RecordAtClose(KeyValues& report);

}  // namespace e2e
