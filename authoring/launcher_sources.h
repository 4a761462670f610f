// The launcher as it goes out: read from the author's files, branded when asked, then signed when asked.
#pragma once

#include <filesystem>

#include "disc_authoring.h"
#include "little_endian.h"

namespace authoring {

// The launcher to start from: the one the sources name, or the autorun.exe in `toolFolder`.
std::filesystem::path LauncherPath(const LauncherSources& sources, const std::filesystem::path& toolFolder);

// Reads and checks the picture, the icon, the key and the launcher.  Throws DiscError naming the file
// and the problem; nothing is written here.
Bytes FinishedLauncher(const LauncherSources& sources, const AuthoringRun& run);

}  // namespace authoring
