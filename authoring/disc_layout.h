// Laying out a disc from a game folder: the game's files, the launcher, bin2.dat, the drive's icon and
// autorun.inf, and for Linux desktops the Linux launcher, bin2lnx.dat and autorun.sh.
#pragma once

#include <optional>
#include <string>

#include "disc_contents.h"

namespace authoring {

// The Linux side of a disc: the launcher and the script that desktops offer to run.
struct LinuxPlan {
    std::string exe;  // relative to the game folder, like DiscPlan::exe
    Bytes launcher;   // an x86_64 ELF executable
    std::string script;
};

struct DiscPlan {
    std::string gameFolder;
    std::string exe;  // relative to gameFolder, with "/" or "\"
    Bytes launcher;   // branded already, if it is to be
    std::string label;
    std::string action;  // the AutoPlay dialog's text
    std::optional<LinuxPlan> linuxSide;
};

// Checks the plan against the game folder and returns what goes onto the disc.  Throws DiscError
// naming the file and the problem.
DiscContents LayOutDisc(const DiscPlan& plan);

}  // namespace authoring
