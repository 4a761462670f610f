// Laying out a disc from a game folder: the game's files, the launcher, bin2.dat and autorun.inf.
#pragma once

#include <string>

#include "disc_contents.h"

namespace authoring {

constexpr char kLauncherOnDisc[] = "autorun.exe";

struct DiscPlan {
    std::string gameFolder;
    std::string exe;  // relative to gameFolder, with "/" or "\"
    Bytes launcher;   // branded already, if it is to be
    std::string label;
    std::string action;  // the AutoPlay dialog's text
};

// Checks the plan against the game folder and returns what goes onto the disc.  Throws DiscError
// naming the file and the problem.
DiscContents LayOutDisc(const DiscPlan& plan);

}  // namespace authoring
