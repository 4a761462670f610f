// The Linux window's own pieces: where the launcher counts as lying, and the painting of the
// picture control into an SDL surface in memory (no display needed).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "form1_definition.h"
#include "launcher_location.h"
#include "sdl_splash_painter.h"

namespace autorun {
namespace {

TEST(LauncherPath, TheDiscFolderNamedByAutorunShReplacesTheCopysOwnPath) {
    const char* const arguments[] = {"/run/user/1000/autorun.x/autorun", "--launcher-dir", "/media/cdrom"};
    EXPECT_EQ(LauncherPath(3, arguments), "/media/cdrom/autorun");
}

TEST(LauncherPath, OtherwiseTheRunningExecutableIsWhereItLies) {
    const char* const alone[] = {"whatever"};
    const std::string own = LauncherPath(1, alone);
    EXPECT_EQ(own.substr(own.find_last_of('/') + 1), "linux_platform_tests");
    const char* const stray[] = {"whatever", "--launcher-dir"};
    EXPECT_EQ(LauncherPath(2, stray), own);
    const char* const empty[] = {"whatever", "--launcher-dir", ""};
    EXPECT_EQ(LauncherPath(3, empty), own);
    const char* const other[] = {"whatever", "--other", "/media/cdrom"};
    EXPECT_EQ(LauncherPath(3, other), own);
}

struct Rgb {
    Uint8 r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

class SurfaceTest : public testing::Test {
   protected:
    void SetUp() override { ASSERT_TRUE(surface) << SDL_GetError(); }

    Rgb At(int x, int y) const {
        const auto* row = static_cast<const Uint8*>(surface->pixels) + surface->pitch * y;
        Uint32 pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        Rgb colour{};
        SDL_GetRGB(pixel, surface->format, &colour.r, &colour.g, &colour.b);
        return colour;
    }
    bool IsBlack(int x, int y) const { return At(x, y) == Rgb{0, 0, 0}; }

    SdlSurfacePtr surface{SDL_CreateRGBSurfaceWithFormat(0, 300, 300, 32, SDL_PIXELFORMAT_XRGB8888)};
};

TEST_F(SurfaceTest, BottomUpBgrDibBecomesATopDownSurface) {
    DibPicture dib;
    dib.width = 2;
    dib.height = 2;
    dib.bitsPerPixel = 24;
    dib.stride = 8;  // 6 bytes of pixels, padded to 4
    // Bottom row first: blue, green; then the top row: red, white.
    dib.pixels = {255, 0, 0, 0, 255, 0, 0xEE, 0xEE, 0, 0, 255, 255, 255, 255, 0xEE, 0xEE};
    surface = SurfaceFromDib(dib, *surface->format);
    ASSERT_TRUE(surface);
    EXPECT_EQ(At(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(1, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(0, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(At(1, 1), (Rgb{0, 255, 0}));
}

class PainterTest : public SurfaceTest {
   protected:
    static std::vector<std::uint8_t> Splash() {
        std::ifstream file(AUTORUN_SPLASH_JPG, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    SdlSplashPainter painter{Splash(), 0x000000};
    TImage image{kForm1Definition.image1, PictureSize{800, 600}};
};

TEST_F(PainterTest, ReadsTheNaturalSizeWithoutDecoding) {
    EXPECT_EQ(painter.PictureNaturalSize().width, 800);
    EXPECT_EQ(painter.PictureNaturalSize().height, 600);
    EXPECT_EQ(SdlSplashPainter({}, 0).PictureNaturalSize().width, 0);
}

TEST_F(PainterTest, UnstretchedPictureIsClippedToItsControl) {
    painter.Paint(*surface, image);
    EXPECT_FALSE(IsBlack(104, 104));
    EXPECT_TRUE(IsBlack(105, 50));
    EXPECT_TRUE(IsBlack(50, 105));
}

TEST_F(PainterTest, StretchedPictureFillsItsControlAndNothingElse) {
    image.SetStretch(true);
    image.SetWidth(200);
    image.SetHeight(150);
    painter.Paint(*surface, image);
    // The splash picture's frame is light all round: its far corner lands in the control's.
    EXPECT_FALSE(IsBlack(199, 149));
    EXPECT_FALSE(IsBlack(0, 0));
    EXPECT_TRUE(IsBlack(200, 10));
    EXPECT_TRUE(IsBlack(10, 150));
}

TEST_F(PainterTest, HiddenOrMissingPictureLeavesTheWindowBlack) {
    image.SetVisible(false);
    painter.Paint(*surface, image);
    EXPECT_TRUE(IsBlack(50, 50));
    image.SetVisible(true);
    SdlSplashPainter without({}, 0x000000);
    without.Paint(*surface, image);
    EXPECT_TRUE(IsBlack(50, 50));
}

}  // namespace
}  // namespace autorun
