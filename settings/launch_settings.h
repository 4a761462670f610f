// The launcher's view of "bin2.dat": which executable to start.
#pragma once

#include <string>

#include "disc_file_names.h"

namespace autorun {

// Loads the settings file (a name relative to the current directory) and returns the file name of
// the game's executable that it stores, relative to the launcher's directory, in the ANSI code page.
// Throws LauncherError when the file can't be opened or is damaged.
std::string ReadLaunchSettings(const std::string& fileName = kSettingsFileName);

}  // namespace autorun
