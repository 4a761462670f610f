// The programs in a game folder that could be the game the launcher starts, for an author choosing
// one: the biggest first, since the game is usually the largest program and its helpers small.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "elevation_prompt.h"

namespace authoring {

struct GameProgram {
    std::filesystem::path path;  // relative to the game folder
    std::uintmax_t size = 0;
    // Why Windows will ask the player's consent before starting it, if it will: the installers.
    ElevationCause elevation = ElevationCause::kNone;
};

// Every .exe file in the folder and its subfolders (any case of the extension, links not followed),
// biggest first, then by path.  Throws DiscError when the folder can't be read.
std::vector<GameProgram> FindGamePrograms(const std::filesystem::path& folder);

}  // namespace authoring
