// Checking the icon that autorun.inf's icon= gives the drive.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "disc_check.h"

namespace authoring {

// `keys` are autorun.inf's [autorun] keys.  An icon the disc lacks, or an .ico file Windows can't read,
// is a warning: the game still starts, under a plain drive icon.
void CheckDriveIcon(const DiscReader& disc, const std::map<std::string, std::string>& keys,
                    std::vector<Finding>& findings);

}  // namespace authoring
