// Replacing the resources of an executable without a linker.
#pragma once

#include <vector>

#include "little_endian.h"
#include "resource_table.h"

namespace authoring {

// Returns a copy of `image` whose resource section holds `resources` instead.  The section keeps its
// place; the sections after it, which may only be ones nothing refers to by address (the base
// relocations, discardable debugging data), move up or down with their data directories, and the
// image size, the size of initialized data and the checksum are recomputed.  Throws PeFormatError when
// the image is laid out in a way this can't handle (the reason says which), e.g. a signed image.
Bytes ReplaceResources(const Bytes& image, const std::vector<Resource>& resources);

}  // namespace authoring
