// Reading a disc the way Windows and the launcher will, and saying whether it starts its game.
#pragma once

#include <string>
#include <vector>

#include "disc_reader.h"

namespace authoring {

struct Finding {
    enum Level { kGood, kNote, kWarning, kProblem };
    Level level;
    std::string text;
    // About the medium the disc goes on rather than what is on it: `make` repeats these.
    bool aboutMedium = false;
};

struct CheckReport {
    std::vector<Finding> findings;
    bool WouldStartGame() const;
    const Finding* FirstProblem() const;
};

// The launcher the disc's autorun.inf names, bin2.dat at the root (AutoPlay starts the launcher with
// the root as its current directory), the game beside the launcher, the splash picture, the names.
CheckReport CheckDisc(const DiscReader& disc);

const char* LevelName(Finding::Level level);

// The image or folder at `target`, checked.  Throws DiscError when it is neither or can't be read.
CheckReport CheckDiscAt(const std::string& target);

}  // namespace authoring
