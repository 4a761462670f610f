// Checking files of 4 GiB and more, which an image stores in several extents (ISO 9660 level 3):
// Windows adds the extents up, macOS and FreeBSD don't read such files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disc_check.h"

namespace authoring {

// The warning that `make` and `check` give for such a file.
std::string SplitFileWarning(const std::string& path, std::uint64_t size, std::size_t extents);

// A warning for each such file of the image, and a problem where its extents don't add up to its
// size, leave gaps inside it, run past the image's end, or where its Joliet and ISO 9660 records
// disagree.
void CheckSplitFiles(const DiscReader& disc, std::vector<Finding>& findings);

}  // namespace authoring
