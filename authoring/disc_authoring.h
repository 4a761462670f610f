// What a disc author does, one call each: make a disc from a project, brand a launcher (checking a
// disc is CheckDiscAt in disc_check.h).  Every failure is a DiscError naming the file and the problem,
// and nothing is written then.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "disc_check.h"
#include "disc_output.h"
#include "disc_project.h"

namespace authoring {

// What a run takes from whoever runs it, besides the project.
struct AuthoringRun {
    std::filesystem::path toolFolder;                 // holds the launchers a project does not name
    Progress progress;                                // how much of the output is written
    std::function<void(const std::string&)> warning;  // one line naming the file, as soon as it is known
};

struct MadeDisc {
    std::string label;  // what Windows shows as the disc's name
    std::size_t files = 0;
    // An image's size; for a folder, what it takes burnt as an image, estimated from above.
    std::uint64_t sectors = 0;
    CheckReport report;  // check's findings on what was written
};

// Lays out the disc, checks it as `check` would and writes it.  Throws DiscError.
MadeDisc MakeDisc(const DiscProject& project, const AuthoringRun& run);

// The disc's name when the project gives none: the game folder's.
std::string DefaultLabel(const std::string& gameFolder);

// What MakeDisc's disc will take burnt as an image, from above, with nothing written: the launcher
// branded and the disc laid out as MakeDisc does, without its check.  Reports no warnings.  Throws
// DiscError.
std::uint64_t EstimateDiscSectors(const DiscProject& project, const AuthoringRun& run);

struct WrittenLauncher {
    std::size_t bytes = 0;
    bool isSigned = false;
};

// Writes the branded (and, when asked, signed) launcher.  Throws DiscError.
WrittenLauncher BrandLauncherFile(const BrandProject& project, const AuthoringRun& run);

}  // namespace authoring
