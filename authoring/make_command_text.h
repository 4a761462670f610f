// The `autorun-disc make ...` command that makes the same disc as a project, for an author to copy.
#pragma once

#include <string>

#include "disc_project.h"

namespace authoring {

// Quoted for the system's own command prompt: cmd.exe on Windows, a POSIX shell elsewhere.
std::string MakeCommandText(const DiscProject& project);

}  // namespace authoring
