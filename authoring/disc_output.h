// Writing a laid-out disc: as a folder or as an ISO 9660 image.  Either appears complete or not at all.
#pragma once

#include <functional>
#include <string>

#include "disc_contents.h"

namespace authoring {

// Called with the share written so far, 0 to 1, now and then while a long write runs.
using Progress = std::function<void(double)>;

// Builds the folder beside `target` and renames it into place; an existing `target` is replaced only
// when `replace` is set.  Throws DiscError.
void WriteDiscFolder(const DiscContents& contents, const std::string& target, bool replace);

// ISO 9660 with Joliet and Rock Ridge names, written to a temporary file beside `target` that then
// takes its place.  Throws DiscError, also in builds without libisofs.
void WriteDiscIso(const DiscContents& contents, const std::string& target, bool replace,
                  const Progress& progress);

// Whether this build can write ISO images.
bool CanWriteIso();

}  // namespace authoring
