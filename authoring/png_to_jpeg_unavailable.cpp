#include "png_to_jpeg.h"

#include "splash_picture.h"

namespace authoring {

// The Windows build has no libpng: Debian packages it for Linux only.
Bytes ConvertPngToJpeg(const Bytes&) {
    throw PictureError("this build of the tool reads JPEG pictures only; convert the PNG to a baseline JPEG");
}

}  // namespace authoring
