// PNG pictures turned into the baseline JPEG the launcher shows.
#pragma once

#include "little_endian.h"

namespace authoring {

// Composites any transparency onto black, the launcher's background, and encodes at high quality.
// Throws PictureError when the PNG is damaged or the build has no PNG support.
Bytes ConvertPngToJpeg(const Bytes& png);

}  // namespace authoring
