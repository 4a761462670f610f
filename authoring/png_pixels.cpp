#include "png_pixels.h"

#include <png.h>

#include <memory>
#include <string>

#include "splash_picture.h"

namespace authoring {
namespace {

struct PngImageFree {
    void operator()(png_image* image) const { png_image_free(image); }
};

[[noreturn]] void ThrowDamaged(const png_image& image) {
    throw PictureError(std::string("damaged PNG (") + image.message + "); save the picture again");
}

}  // namespace

RgbaPicture DecodePngRgba(const Bytes& png, int maxSide) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const std::unique_ptr<png_image, PngImageFree> release(&image);
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) ThrowDamaged(image);
    if (image.width > std::uint32_t(maxSide) || image.height > std::uint32_t(maxSide))
        throw PictureError("the picture is " + std::to_string(image.width) + " x " +
                           std::to_string(image.height) + " pixels; at most " + std::to_string(maxSide) +
                           " pixels a side are taken");
    image.format = PNG_FORMAT_RGBA;
    RgbaPicture picture{int(image.width), int(image.height), Bytes(PNG_IMAGE_SIZE(image))};
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) ThrowDamaged(image);
    return picture;
}

Bytes EncodePngRgba(const RgbaPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.width);
    image.height = png_uint_32(picture.height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, picture.pixels.data(), 0, nullptr))
        throw PictureError(std::string("the PNG could not be written (") + image.message + ")");
    Bytes png(size);
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, picture.pixels.data(), 0, nullptr))
        throw PictureError(std::string("the PNG could not be written (") + image.message + ")");
    png.resize(size);
    return png;
}

}  // namespace authoring
