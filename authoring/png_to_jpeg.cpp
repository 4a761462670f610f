#include "png_to_jpeg.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <string>

// clang-format off
#include <cstdio>  // jpeglib.h uses FILE and size_t without declaring them
#include <jpeglib.h>
// clang-format on

#include "splash_picture.h"

namespace authoring {
namespace {

constexpr int kJpegQuality = 92;

struct RgbPicture {
    int width = 0;
    int height = 0;
    Bytes pixels;  // top row first, 3 bytes a pixel
};

struct PngImageFree {
    void operator()(png_image* image) const { png_image_free(image); }
};

RgbPicture DecodePng(const Bytes& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const std::unique_ptr<png_image, PngImageFree> release(&image);
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        throw PictureError(std::string("damaged PNG (") + image.message + "); save the picture again");
    if (image.width > std::uint32_t(kMaxSplashWidth) || image.width < std::uint32_t(kMinSplashSide) ||
        image.height < std::uint32_t(kMinSplashSide) || image.height > 65500u)
        throw PictureError("the picture is " + std::to_string(image.width) + " x " +
                           std::to_string(image.height) + " pixels; the launcher takes " +
                           std::to_string(kMinSplashSide) + " to " + std::to_string(kMaxSplashWidth) +
                           " pixels across and at least " + std::to_string(kMinSplashSide) + " down");
    image.format = PNG_FORMAT_RGB;
    RgbPicture picture{int(image.width), int(image.height), Bytes(PNG_IMAGE_SIZE(image))};
    png_color black{0, 0, 0};
    if (!png_image_finish_read(&image, &black, picture.pixels.data(), 0, nullptr))
        throw PictureError(std::string("damaged PNG (") + image.message + "); save the picture again");
    return picture;
}

struct JpegErrors {
    jpeg_error_mgr base;  // first, so that libjpeg's pointer to it leads to the whole struct
    std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// No objects with destructors live in this frame: libjpeg's errors jump out of it.
bool Compress(const RgbPicture& picture, unsigned char** buffer, unsigned long* size) {
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpOut;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = JDIMENSION(picture.width);
    info.image_height = JDIMENSION(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);  // baseline, Huffman-coded, YCbCr
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = std::size_t(picture.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&picture.pixels[info.next_scanline * stride]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

Bytes ConvertPngToJpeg(const Bytes& png) {
    const RgbPicture picture = DecodePng(png);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool compressed = Compress(picture, &buffer, &size);
    const std::unique_ptr<unsigned char, decltype(&std::free)> release(buffer, &std::free);
    if (!compressed) throw PictureError("the PNG could not be converted to JPEG");
    return Bytes(buffer, buffer + size);
}

}  // namespace authoring
