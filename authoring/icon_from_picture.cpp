#include "icon_from_picture.h"

#include <string>

#include "jpeg_decoder.h"
#include "picture_kind.h"
#include "picture_resample.h"
#include "png_pixels.h"
#include "splash_picture.h"

namespace authoring {
namespace {

constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint8_t kOpaque = 255;

void RefuseTooLarge(int width, int height) {
    if (width > kMaxIconPictureSide || height > kMaxIconPictureSide)
        throw PictureError("the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels; at most " + std::to_string(kMaxIconPictureSide) +
                           " pixels a side are taken");
}

RgbaPicture DecodeJpegRgba(const Bytes& jpeg) {
    const auto size = autorun::ReadJpegSize(jpeg.data(), jpeg.size());
    if (!size) throw PictureError("damaged JPEG (" + size.error + "); save the picture again");
    RefuseTooLarge(size.value->width, size.value->height);
    const auto decoded = autorun::DecodeJpeg(jpeg.data(), jpeg.size(), autorun::DibColours::kTrueColour32);
    if (!decoded) throw PictureError("damaged JPEG (" + decoded.error + "); save the picture again");
    const autorun::DibPicture& dib = *decoded.value;
    RgbaPicture picture{dib.width, dib.height, Bytes(std::size_t(dib.width) * std::size_t(dib.height) * 4)};
    for (int y = 0; y < dib.height; ++y) {
        // The DIB's rows run bottom-up, blue-green-red.
        const std::uint8_t* from = &dib.pixels[std::size_t(dib.height - 1 - y) * dib.stride];
        for (int x = 0; x < dib.width; ++x, from += 4) {
            std::uint8_t* to = &picture.pixels[picture.Offset(x, y)];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = kOpaque;
        }
    }
    return picture;
}

// A BITMAPINFOHEADER for twice the height (the colours, then the mask), the rows bottom-up in
// blue-green-red-alpha, then the 1-bit mask that hides the fully transparent pixels where alpha is
// not drawn.
Bytes BitmapIconImage(const RgbaPicture& picture) {
    const std::size_t maskStride = std::size_t((picture.width + 31) / 32) * 4;
    const std::size_t colourBytes = picture.pixels.size();
    const std::size_t maskBytes = maskStride * std::size_t(picture.height);
    Bytes image;
    image.reserve(kBitmapInfoHeaderSize + colourBytes + maskBytes);
    AppendU32(image, kBitmapInfoHeaderSize);
    AppendU32(image, std::uint32_t(picture.width));
    AppendU32(image, std::uint32_t(picture.height) * 2);
    AppendU16(image, 1);   // planes
    AppendU16(image, 32);  // bits per pixel
    AppendU32(image, 0);   // BI_RGB
    AppendU32(image, std::uint32_t(colourBytes + maskBytes));
    for (int field = 0; field < 4; ++field) AppendU32(image, 0);  // resolution and colour table: none
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* pixel = &picture.pixels[picture.Offset(x, y)];
            image.insert(image.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
        }
    for (int y = picture.height - 1; y >= 0; --y) {
        Bytes row(maskStride);
        for (int x = 0; x < picture.width; ++x)
            if (picture.pixels[picture.Offset(x, y) + 3] == 0)
                row[std::size_t(x / 8)] |= std::uint8_t(0x80u >> (x % 8));
        image.insert(image.end(), row.begin(), row.end());
    }
    return image;
}

IconImage IconImageOfSide(const RgbaPicture& source, int side) {
    const RgbaPicture square = FitIntoSquare(source, side);
    IconImage image;
    image.width = image.height = side;
    image.planes = 1;
    image.bitCount = 32;
    image.png = side == 256;
    image.data = image.png ? EncodePngRgba(square) : BitmapIconImage(square);
    return image;
}

}  // namespace

std::vector<IconImage> IconImagesFromPicture(const Bytes& picture) {
    RgbaPicture source;
    if (IsPngFile(picture))
        source = DecodePngRgba(picture, kMaxIconPictureSide);
    else if (IsJpegFile(picture))
        source = DecodeJpegRgba(picture);
    else
        throw PictureError("not a PNG or JPEG picture");
    std::vector<IconImage> images;
    for (const int side : kIconSidesFromPicture) images.push_back(IconImageOfSide(source, side));
    return images;
}

std::vector<IconImage> ReadIconSource(const Bytes& file) {
    if (IsPngFile(file) || IsJpegFile(file)) return IconImagesFromPicture(file);
    return ReadIconFile(file);
}

}  // namespace authoring
