// Where the Linux launcher counts as lying.  autorun.sh runs a copy from a temporary folder when
// the disc is mounted without the right to execute, and names the disc's folder on the command
// line; the game and the Windows launcher are then looked for there.
#pragma once

#include <string>

namespace autorun {

inline constexpr char kLauncherDirOption[] = "--launcher-dir";

// "DIR/autorun" for the arguments "--launcher-dir DIR", else the running executable's own path.
// Any other argument is ignored, as the Windows launcher ignores its command line.
std::string LauncherPath(int argc, const char* const* argv);

}  // namespace autorun
