// A disc project kept as a file, so that a disc can be made again months later, by the window or by
// `autorun-disc make --project FILE`.
#pragma once

#include <filesystem>

#include "disc_project.h"

namespace authoring {

// Throws DiscError naming the file and the problem.
DiscProject ReadProjectFile(const std::filesystem::path& file);

// Replaces the file whole or not at all.  Throws DiscError.
void WriteProjectFile(const DiscProject& project, const std::filesystem::path& file);

}  // namespace authoring
