// The names of the files at a disc's root that the launchers, the disc tools and the authoring library
// agree on.  A disc made by one and read by another only works while they all spell them the same.
#pragma once

namespace autorun {

// The Windows side: what autorun.inf opens, and the settings file it reads.
inline constexpr char kAutorunInfName[] = "autorun.inf";
inline constexpr char kLauncherExeName[] = "autorun.exe";
inline constexpr char kSettingsFileName[] = "bin2.dat";

// The Linux launcher's settings file, in the same format: a disc for both systems names a Windows
// and a Linux game.  A name of 8.3 characters, so that even a plain ISO 9660 disc can carry it.
inline constexpr char kLinuxSettingsFileName[] = "bin2lnx.dat";
// The Linux launcher, and the script that desktops offer to run, which starts it.
inline constexpr char kLinuxLauncherName[] = "autorun";
inline constexpr char kLinuxScriptName[] = "autorun.sh";

// The game a launcher starts when its settings file can't be read.
inline constexpr char kDefaultGameExeName[] = "lmq.bin";

}  // namespace autorun
