// PNG pictures read into and written from RGBA pixels, through libpng's simplified interface.
#pragma once

#include "rgba_picture.h"

namespace authoring {

// Throws PictureError when the PNG is damaged, or wider or higher than maxSide.
RgbaPicture DecodePngRgba(const Bytes& png, int maxSide);

// The picture as a PNG with an alpha channel.  The same pixels give the same bytes: nothing of the
// time or the machine goes into the file.  Throws PictureError.
Bytes EncodePngRgba(const RgbaPicture& picture);

}  // namespace authoring
