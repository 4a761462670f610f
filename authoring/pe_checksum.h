// The optional header's CheckSum: what Windows checks for drivers and some loaders verify for any image.
#pragma once

#include <cstdint>

#include "little_endian.h"

namespace authoring {

// The image's checksum, computed as with the CheckSum field (at `checksumOffset`) counted as zero.
std::uint32_t PeChecksum(const Bytes& image, std::size_t checksumOffset);

}  // namespace authoring
