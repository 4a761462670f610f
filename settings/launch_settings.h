// The launcher's view of "bin2.dat": which executable to start.
#pragma once

#include <string>

namespace autorun {

inline constexpr char kSettingsFileName[] = "bin2.dat";
// The Linux launcher's settings file, in the same format: a disc for both systems names a Windows
// and a Linux game.  A name of 8.3 characters, so that even a plain ISO 9660 disc can carry it.
inline constexpr char kLinuxSettingsFileName[] = "bin2lnx.dat";
inline constexpr char kDefaultGameExeName[] = "lmq.bin";

// File name of the game's executable, relative to the launcher's directory, in the ANSI code page.
// Holds the default until ReadLaunchSettings succeeds, then the decoded name.
extern std::string GameExeName;

// Loads the settings file (a name relative to the current directory) and stores its executable
// name in GameExeName.  Throws LauncherError when the file can't be opened or is damaged;
// GameExeName is then unchanged.
void ReadLaunchSettings(const std::string& fileName = kSettingsFileName);

}  // namespace autorun
