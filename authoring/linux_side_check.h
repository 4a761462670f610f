// Checking the Linux side of a disc: autorun.sh starts the launcher "autorun" at the root, which reads
// bin2lnx.dat there and starts the game it names beside itself.
#pragma once

#include <vector>

#include "disc_check.h"

namespace authoring {

// Adds findings about the Linux side when the disc has one (autorun.sh or bin2lnx.dat at its root);
// each problem says "on Linux".  Linux finds names exactly as written, case included.
void CheckLinuxSide(const DiscReader& disc, std::vector<Finding>& findings);

}  // namespace authoring
