// The branding options turned into what goes into the launcher, with the warnings a disc author
// should see.
#pragma once

#include <filesystem>
#include <ostream>

#include "arguments.h"
#include "launcher_branding.h"

namespace autorun_disc {

// Reads and checks the picture and icon files and the launcher.  Throws authoring::DiscError naming
// the file and the problem.  Warnings go to `warnings`.
authoring::Bytes BrandedLauncher(const Branding& options, std::ostream& warnings);

// The launcher to start from: --launcher, or the autorun.exe beside this tool.
std::filesystem::path LauncherPath(const Branding& options);

}  // namespace autorun_disc
