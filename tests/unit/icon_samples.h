// Icon images and .ico files made in memory for the tests: bitmaps of the right shape, PNG headers.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "little_endian.h"

namespace authoring {

// A 32-bit DIB icon image of side x side pixels, all zero.
Bytes BitmapImage(int side);
// The start of a PNG whose header says side x side pixels.
Bytes PngImage(std::uint32_t side);
// An .ico file with the images in order; the entries' planes and bit counts left 0, as some tools do.
Bytes IcoFile(const std::vector<std::pair<int, Bytes>>& images);

}  // namespace authoring
