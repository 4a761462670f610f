// The one-time smooth scaling of the splash picture: exact where the answer is known (flat colour,
// same size, a two-pixel ramp), every channel on its own, bottom-up 32-bit DIB layout, and the top
// rows alone, from only the source rows they need, coming out exactly as the top of the whole.
#include "picture_scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

namespace autorun {
namespace {

struct Bgr {
    std::uint8_t blue, green, red;
};

DibPicture Blank(int width, int height) {
    DibPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bitsPerPixel = 32;
    picture.stride = std::size_t(width) * 4;
    picture.pixels.assign(picture.stride * std::size_t(height), 0);
    return picture;
}

// y counts from the top, as on the screen.
std::uint8_t* PixelAt(DibPicture& picture, int x, int y) {
    return picture.pixels.data() + std::size_t(picture.height - 1 - y) * picture.stride + 4 * x;
}

Bgr At(const DibPicture& picture, int x, int y) {
    const std::uint8_t* p =
        picture.pixels.data() + std::size_t(picture.height - 1 - y) * picture.stride + 4 * x;
    return {p[0], p[1], p[2]};
}

void Set(DibPicture& picture, int x, int y, Bgr colour) {
    std::uint8_t* p = PixelAt(picture, x, y);
    p[0] = colour.blue, p[1] = colour.green, p[2] = colour.red;
}

// A picture with structure in both directions and in each channel on its own.
DibPicture Pattern(int width, int height) {
    DibPicture picture = Blank(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(picture, x, y,
                {static_cast<std::uint8_t>(x * 255 / (width - 1)),
                 static_cast<std::uint8_t>(y * 255 / (height - 1)),
                 static_cast<std::uint8_t>((x * 7 + y * 13) % 256)});
    return picture;
}

// The picture's top rows, as the decoder gives them when asked for no more.
DibPicture TopRows(const DibPicture& picture, int rows) {
    DibPicture top = Blank(picture.width, rows);
    for (int y = 0; y < rows; ++y)
        std::copy_n(picture.pixels.data() + std::size_t(picture.height - 1 - y) * picture.stride,
                    picture.stride, top.pixels.data() + std::size_t(rows - 1 - y) * top.stride);
    return top;
}

TEST(PictureScaler, KeepsAFlatColourExactlyWhetherEnlargingOrShrinking) {
    DibPicture flat = Blank(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) Set(flat, x, y, {10, 200, 255});
    for (const auto& size : {std::pair{13, 9}, std::pair{5, 4}, std::pair{1, 1}}) {
        const DibPicture scaled = ScaleTopRows(flat, 6, size.first, size.second, size.second);
        ASSERT_EQ(scaled.height, size.second);
        for (int y = 0; y < scaled.height; ++y)
            for (int x = 0; x < scaled.width; ++x) {
                const Bgr c = At(scaled, x, y);
                EXPECT_TRUE(c.blue == 10 && c.green == 200 && c.red == 255)
                    << size.first << " " << x << "," << y;
            }
    }
}

TEST(PictureScaler, SameSizeIsACopy) {
    const DibPicture source = Pattern(7, 5);
    const DibPicture scaled = ScaleTopRows(source, 5, 7, 5, 5);
    EXPECT_EQ(scaled.pixels, source.pixels);
}

TEST(PictureScaler, InterpolatesBetweenPixelCentres) {
    DibPicture ramp = Blank(2, 1);
    Set(ramp, 0, 0, {0, 0, 0});
    Set(ramp, 1, 0, {255, 100, 10});
    const DibPicture scaled = ScaleTopRows(ramp, 1, 4, 1, 1);
    // Scaled centres at 0.5, 1.5, 2.5, 3.5 fall on source positions -0.25, 0.25, 0.75, 1.25: the outer
    // ones take the edge pixels, the inner ones a quarter and three quarters of the way; each channel
    // on its own, though all are weighed in one multiplication.
    const int blue[] = {0, 64, 191, 255}, green[] = {0, 25, 75, 100}, red[] = {0, 3, 8, 10};
    for (int x = 0; x < 4; ++x) {
        EXPECT_NEAR(At(scaled, x, 0).blue, blue[x], 1) << x;
        EXPECT_NEAR(At(scaled, x, 0).green, green[x], 1) << x;
        EXPECT_NEAR(At(scaled, x, 0).red, red[x], 1) << x;
    }
}

TEST(PictureScaler, LaysOutBottomUpRowsOfFourBytesAPixel) {
    DibPicture source = Blank(2, 2);
    Set(source, 0, 0, {255, 0, 0});  // top row blue
    Set(source, 1, 0, {255, 0, 0});
    const DibPicture scaled = ScaleTopRows(source, 2, 5, 3, 3);
    EXPECT_EQ(scaled.width, 5);
    EXPECT_EQ(scaled.height, 3);
    EXPECT_EQ(scaled.bitsPerPixel, 32);
    EXPECT_EQ(scaled.stride, 20u);
    ASSERT_EQ(scaled.pixels.size(), 60u);
    EXPECT_EQ(At(scaled, 2, 0).blue, 255);  // the top row is stored last
    EXPECT_EQ(At(scaled, 2, 2).blue, 0);
    EXPECT_EQ(scaled.pixels[0], 0);
}

TEST(PictureScaler, TopRowsFromOnlyTheRowsTheyNeedMatchTheWholeScaling) {
    // 800 x 600 at 1920 wide is 1440 high; a 1080-high screen shows the top 1080 rows.  Smaller here.
    const DibPicture source = Pattern(40, 30);
    const DibPicture whole = ScaleTopRows(source, 30, 96, 72, 72);
    for (const int visible : {72, 54, 20, 1}) {
        const int needed = SourceRowsForTop(30, 72, visible);
        EXPECT_LE(needed, 30);
        const DibPicture top = ScaleTopRows(TopRows(source, needed), 30, 96, 72, visible);
        ASSERT_EQ(top.height, visible);
        EXPECT_EQ(top.pixels, TopRows(whole, visible).pixels) << visible << " rows from " << needed;
    }
}

TEST(PictureScaler, NeedsAboutTheShownShareOfTheSourceRows) {
    EXPECT_EQ(SourceRowsForTop(600, 768, 768), 600);
    EXPECT_EQ(SourceRowsForTop(600, 960, 960), 600);
    const int forFullHd = SourceRowsForTop(600, 1440, 1080);  // three quarters of 600, and the next one
    EXPECT_GE(forFullHd, 450);
    EXPECT_LE(forFullHd, 452);
    EXPECT_EQ(SourceRowsForTop(600, 768, 0), 0);
    EXPECT_EQ(SourceRowsForTop(600, 768, 5000), 600);
}

TEST(PictureScaler, GivesNothingBeforeItsRowsAreInOrFromRowsOfAnotherWidth) {
    const DibPicture source = Pattern(4, 4);
    const auto row = [&source](int top) {
        return source.pixels.data() + std::size_t(source.height - 1 - top) * source.stride;
    };
    PictureScaler early({4, 4}, 8, 8, 8);
    early.TakeRow(row(0), 4);
    early.TakeRow(row(1), 4);
    EXPECT_FALSE(early.Finished());
    EXPECT_EQ(early.TakePicture().height, 0);

    PictureScaler narrow({4, 4}, 8, 8, 8);
    narrow.TakeRow(row(0), 3);
    for (int top = 1; top < 4; ++top) narrow.TakeRow(row(top), 4);
    EXPECT_FALSE(narrow.Valid());
    EXPECT_EQ(narrow.TakePicture().height, 0);
}

TEST(PictureScaler, RefusesBeforeAllocatingABitmapBeyondItsLimits) {
    // 20000 x 4000 x 4 bytes is 320 MB; 4 x 2^30 rows of a 70000-pixel row would wrap in 32 bits.
    EXPECT_THROW(PictureScaler({800, 600}, 20000, 15000, 4000), std::bad_alloc);
    EXPECT_THROW(PictureScaler({800, 600}, 70000, 52500, 1), std::bad_alloc);
    EXPECT_NO_THROW(PictureScaler({800, 600}, 1920, 1440, 1080));
}

TEST(PictureScaler, RefusesWhatItCannotScale) {
    DibPicture palette = Blank(4, 4);
    palette.bitsPerPixel = 8;
    EXPECT_EQ(ScaleTopRows(palette, 4, 8, 8, 8).height, 0);
    DibPicture threeBytes = Blank(4, 4);
    threeBytes.bitsPerPixel = 24;
    EXPECT_EQ(ScaleTopRows(threeBytes, 4, 8, 8, 8).height, 0);
    const DibPicture source = Pattern(4, 4);
    EXPECT_EQ(ScaleTopRows(source, 4, 0, 8, 8).height, 0);
    EXPECT_EQ(ScaleTopRows(source, 4, 8, 8, 0).height, 0);
    EXPECT_EQ(ScaleTopRows(source, 3, 8, 8, 8).height, 0);  // claims fewer rows than it holds
    EXPECT_EQ(ScaleTopRows(DibPicture{}, 0, 8, 8, 8).height, 0);
}

}  // namespace
}  // namespace autorun
