// The Linux launcher keeps no artwork of its own: it shows the splash picture of the Windows
// launcher that lies beside it on the same disc, so that one file holds the artwork for both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disc_file_names.h"

namespace autorun {

// Both spellings, since a disc without long names shows "AUTORUN.EXE" to one system and
// "autorun.exe" to another.
inline constexpr const char* kWindowsLauncherNames[] = {kLauncherExeName, "AUTORUN.EXE"};

// The JPEG bytes of the SPLASH resource of the Windows launcher in `launcherDir` (which ends with
// "/"); empty when there is no such executable or it holds no such resource.
std::vector<std::uint8_t> SplashFromWindowsLauncher(const std::string& launcherDir);

}  // namespace autorun
