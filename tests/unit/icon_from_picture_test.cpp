#include "icon_from_picture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "picture_resample.h"
#include "png_pixels.h"
#include "splash_picture.h"

namespace authoring {
namespace {

using Rgba = std::array<std::uint8_t, 4>;

RgbaPicture Filled(int width, int height, Rgba colour) {
    RgbaPicture picture{width, height, Bytes(std::size_t(width) * std::size_t(height) * 4)};
    for (std::size_t at = 0; at < picture.pixels.size(); at += 4)
        std::copy(colour.begin(), colour.end(), &picture.pixels[at]);
    return picture;
}

void Set(RgbaPicture& picture, int x, int y, Rgba colour) {
    std::copy(colour.begin(), colour.end(), &picture.pixels[picture.Offset(x, y)]);
}

Rgba At(const RgbaPicture& picture, int x, int y) {
    const std::uint8_t* pixel = &picture.pixels[picture.Offset(x, y)];
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};
constexpr Rgba kClear{0, 0, 0, 0};

TEST(PictureResample, AveragesTheAreaEachPixelCovers) {
    RgbaPicture quad = Filled(2, 2, kRed);
    Set(quad, 1, 0, {0, 255, 0, 255});
    Set(quad, 0, 1, kBlue);
    Set(quad, 1, 1, {255, 255, 255, 255});
    EXPECT_EQ(At(ResampleArea(quad, 1, 1), 0, 0), (Rgba{128, 128, 128, 255}));

    // A one-pixel checkerboard shrunk sixteen times is grey everywhere, not black or white.
    RgbaPicture board = Filled(256, 256, {0, 0, 0, 255});
    for (int y = 0; y < 256; ++y)
        for (int x = (y % 2); x < 256; x += 2) Set(board, x, y, {255, 255, 255, 255});
    const RgbaPicture small = ResampleArea(board, 16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(At(small, x, y), (Rgba{128, 128, 128, 255})) << x << "," << y;
}

TEST(PictureResample, TransparentPixelsDoNotBleedTheirColour) {
    RgbaPicture pair = Filled(2, 1, kRed);
    Set(pair, 1, 0, {0, 255, 0, 0});
    EXPECT_EQ(At(ResampleArea(pair, 1, 1), 0, 0), (Rgba{255, 0, 0, 128}));
}

TEST(PictureResample, FitsAWidePictureIntoASquareWithTransparentMargins) {
    const RgbaPicture square = FitIntoSquare(Filled(8, 4, kRed), 4);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(At(square, x, 0), kClear);
        EXPECT_EQ(At(square, x, 1), kRed);
        EXPECT_EQ(At(square, x, 2), kRed);
        EXPECT_EQ(At(square, x, 3), kClear);
    }
    // A line keeps at least one pixel.
    EXPECT_EQ(At(FitIntoSquare(Filled(1000, 1, kRed), 16), 5, 7), kRed);
}

// Left half red, right half blue: a mirrored or channel-swapped icon shows at once.
Bytes RedBluePng(int width, int height) {
    RgbaPicture picture = Filled(width, height, kRed);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x) Set(picture, x, y, kBlue);
    return EncodePngRgba(picture);
}

// The 32-bit bitmap's pixel at (x, y) from the top, as red-green-blue-alpha.
Rgba BitmapPixel(const IconImage& image, int x, int y) {
    const std::size_t at =
        40 + (std::size_t(image.height - 1 - y) * std::size_t(image.width) + std::size_t(x)) * 4;
    return {image.data[at + 2], image.data[at + 1], image.data[at], image.data[at + 3]};
}

bool MaskBit(const IconImage& image, int x, int y) {
    const std::size_t stride = std::size_t((image.width + 31) / 32) * 4;
    const std::size_t masks = 40 + std::size_t(image.width) * std::size_t(image.height) * 4;
    return image.data[masks + std::size_t(image.height - 1 - y) * stride + std::size_t(x / 8)] &
           (0x80 >> (x % 8));
}

TEST(IconFromPicture, MakesEverySizeFromAPngAsWindowsReadsThem) {
    const auto images = IconImagesFromPicture(RedBluePng(64, 32));
    ASSERT_EQ(images.size(), 4u);
    const auto reread = ReadIconFile(BuildIconFile(images));
    ASSERT_EQ(reread.size(), 4u);
    EXPECT_TRUE(HasXpIcon(reread));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(reread[i].width, kIconSidesFromPicture[i]);
        EXPECT_EQ(reread[i].bitCount, 32);
        EXPECT_EQ(reread[i].png, kIconSidesFromPicture[i] == 256);
    }

    const RgbaPicture large = DecodePngRgba(images[0].data, 256);
    EXPECT_EQ(At(large, 10, 128), kRed);
    EXPECT_EQ(At(large, 245, 128), kBlue);
    EXPECT_EQ(At(large, 128, 10), kClear);

    const IconImage& xp = images[2];
    ASSERT_EQ(xp.width, 32);
    EXPECT_EQ(BitmapPixel(xp, 2, 16), kRed);
    EXPECT_EQ(BitmapPixel(xp, 29, 16), kBlue);
    EXPECT_EQ(BitmapPixel(xp, 16, 2), kClear);
    EXPECT_TRUE(MaskBit(xp, 16, 2));
    EXPECT_FALSE(MaskBit(xp, 16, 16));
}

TEST(IconFromPicture, MakesAnOpaqueIconFromAJpegAndTheSameBytesEachTime) {
    std::ifstream in(AUTORUN_SPLASH_JPG, std::ios::binary);
    const Bytes jpeg{std::istreambuf_iterator<char>(in), {}};
    const auto images = IconImagesFromPicture(jpeg);
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(BitmapPixel(images[1], 24, 24)[3], 255);
    for (std::size_t i = 0; i < images.size(); ++i)
        EXPECT_EQ(IconImagesFromPicture(jpeg)[i].data, images[i].data);
}

TEST(IconFromPicture, RefusesWhatIsNoPictureOrTooLarge) {
    EXPECT_THROW(IconImagesFromPicture(Bytes{'G', 'I', 'F', '8'}), PictureError);
    EXPECT_THROW(IconImagesFromPicture(RedBluePng(kMaxIconPictureSide + 1, 2)), PictureError);
    // Anything else than a picture is still read, and refused, as an .ico file.
    EXPECT_THROW(ReadIconSource(Bytes{'G', 'I', 'F', '8'}), IconFormatError);
}

}  // namespace
}  // namespace authoring
