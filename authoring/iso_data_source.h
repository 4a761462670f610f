// An ISO image for libisofs to read, opened by path through std::filesystem: libisofs' own source
// takes the path as 8-bit text for open(), which on Windows means the ANSI code page, and seeks with
// an off_t that 32-bit Windows builds keep at 32 bits.
#pragma once

#include <filesystem>

#include "libisofs_handles.h"

namespace authoring {

// A source with one reference, not yet open.
IsoDataSourcePtr NewIsoImageSource(const std::filesystem::path& image);

}  // namespace authoring
