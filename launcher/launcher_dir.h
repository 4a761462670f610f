// The directory the launcher's executable lies in; the game is started from there.
#pragma once

#include <string>

namespace autorun {

// Always ends with exactly one backslash.  Set while the main window is created.
extern std::wstring LauncherDir;

// Everything up to and including the last "\" or ":" of `modulePath`, with a "\" appended
// when the result doesn't already end with one ("D:" gives "D:\").
std::wstring DirectoryOfModule(const std::wstring& modulePath);

}  // namespace autorun
