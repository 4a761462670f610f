#include "png_pixels.h"

#include "splash_picture.h"

namespace authoring {
namespace {

[[noreturn]] void ThrowNoPng() {
    throw PictureError("this build of the tool reads JPEG pictures only; convert the PNG to a baseline JPEG");
}

}  // namespace

// The Windows build has no libpng yet.
RgbaPicture DecodePngRgba(const Bytes&, int) {
    ThrowNoPng();
}

Bytes EncodePngRgba(const RgbaPicture&) {
    ThrowNoPng();
}

}  // namespace authoring
