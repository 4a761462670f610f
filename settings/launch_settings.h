// The launcher's view of "bin2.dat": which executable to start.
#pragma once

#include <string>

namespace autorun {

inline constexpr char kSettingsFileName[] = "bin2.dat";
inline constexpr char kDefaultGameExeName[] = "lmq.bin";

// File name of the game's executable, relative to the launcher's directory, in the ANSI code page.
// Holds the default until ReadLaunchSettings succeeds, then the decoded name.
extern std::string GameExeName;

// Loads "bin2.dat" from the current directory and stores its executable name in GameExeName.
// Throws LauncherError when the file can't be opened or is damaged; GameExeName is then unchanged.
void ReadLaunchSettings();

}  // namespace autorun
