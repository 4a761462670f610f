// The launcher's view of "bin2.dat": which executable to start.
#pragma once

#include <string>

#include "disc_file_names.h"

namespace autorun {

// File name of the game's executable, relative to the launcher's directory, in the ANSI code page.
// Holds the default until ReadLaunchSettings succeeds, then the decoded name.
extern std::string GameExeName;

// Loads the settings file (a name relative to the current directory) and stores its executable
// name in GameExeName.  Throws LauncherError when the file can't be opened or is damaged;
// GameExeName is then unchanged.
void ReadLaunchSettings(const std::string& fileName = kSettingsFileName);

}  // namespace autorun
