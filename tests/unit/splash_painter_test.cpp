// The window's painting into a memory bitmap: the splash picture clipped or stretched into the
// picture control, the rest black, and a damaged picture that leaves the window plainly black.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "form1_definition.h"
#include "image_control.h"
#include "win32_splash_painter.h"

namespace autorun {
namespace {

constexpr int kCanvasWidth = 1100, kCanvasHeight = 900;
constexpr COLORREF kUnpainted = RGB(255, 0, 255);

// A 24-bit memory canvas pre-filled with a colour no paint produces, so untouched pixels show.
class Canvas {
   public:
    Canvas() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kCanvasWidth;
        info.bmiHeader.biHeight = -kCanvasHeight;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        const HBRUSH brush = CreateSolidBrush(kUnpainted);
        const RECT all{0, 0, kCanvasWidth, kCanvasHeight};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const auto* row = static_cast<const BYTE*>(bits_) + y * ((kCanvasWidth * 3 + 3) & ~3);
        return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    bool IsBlack(int x, int y) const { return At(x, y) == RGB(0, 0, 0); }
    bool IsPicture(int x, int y) const { return !IsBlack(x, y) && At(x, y) != kUnpainted; }

   private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

const RECT kClient{0, 0, kCanvasWidth, kCanvasHeight};

// The control as the splash sequence leaves it on a 1024 x 768 screen.
TImage StretchedTo1024x768(const Win32SplashPainter& painter) {
    TImage image(kForm1Definition.image1, painter.PictureNaturalSize());
    image.SetStretch(true);
    image.SetHeight(768);
    image.SetWidth(1024);
    return image;
}

TEST(SplashPainter, ReadsTheNaturalSizeFromTheResourceHeader) {
    Win32SplashPainter painter(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    EXPECT_EQ(painter.PictureNaturalSize().width, 800);
    EXPECT_EQ(painter.PictureNaturalSize().height, 600);
}

TEST(SplashPainter, UnstretchedPictureIsClippedToTheControl) {
    Win32SplashPainter painter(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    const TImage image(kForm1Definition.image1, painter.PictureNaturalSize());
    Canvas canvas;
    painter.Paint(canvas.dc(), kClient, image);
    EXPECT_TRUE(canvas.IsPicture(0, 0));
    EXPECT_TRUE(canvas.IsPicture(104, 104));
    EXPECT_TRUE(canvas.IsBlack(105, 50));
    EXPECT_TRUE(canvas.IsBlack(50, 105));
    EXPECT_TRUE(canvas.IsBlack(kCanvasWidth - 1, kCanvasHeight - 1));
}

TEST(SplashPainter, StretchedPictureFillsTheControlAndTheRestIsBlack) {
    Win32SplashPainter painter(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    Canvas canvas;
    painter.Paint(canvas.dc(), kClient, StretchedTo1024x768(painter));
    for (const POINT corner : {POINT{0, 0}, POINT{1023, 0}, POINT{0, 767}, POINT{1023, 767}, POINT{512, 384}})
        EXPECT_TRUE(canvas.IsPicture(corner.x, corner.y)) << corner.x << "," << corner.y;
    EXPECT_TRUE(canvas.IsBlack(1024, 100));
    EXPECT_TRUE(canvas.IsBlack(100, 768));
}

TEST(SplashPainter, PictureTallerThanTheWindowFillsItToTheBottomEdge) {
    // 1280 wide: 960 rows, of which the 900-row client shows the top 900, scaled from fewer rows.
    Win32SplashPainter painter(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    TImage image(kForm1Definition.image1, painter.PictureNaturalSize());
    image.SetStretch(true);
    image.SetHeight(960);
    image.SetWidth(1280);
    Canvas canvas;
    painter.Paint(canvas.dc(), kClient, image);
    for (const POINT point : {POINT{0, 0}, POINT{kCanvasWidth - 1, 0}, POINT{0, kCanvasHeight - 1},
                              POINT{kCanvasWidth - 1, kCanvasHeight - 1}, POINT{550, 450}})
        EXPECT_TRUE(canvas.IsPicture(point.x, point.y)) << point.x << "," << point.y;
    // Painted again at once, from the scaled picture kept: the same pixels.
    const COLORREF before = canvas.At(700, 800);
    painter.Paint(canvas.dc(), kClient, image);
    EXPECT_EQ(canvas.At(700, 800), before);
}

TEST(SplashPainter, PictureTooWideToScaleOnceIsStretchedByTheSystem) {
    Win32SplashPainter painter(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    TImage image(kForm1Definition.image1, painter.PictureNaturalSize());
    image.SetStretch(true);
    image.SetHeight(52500);
    image.SetWidth(70000);
    Canvas canvas;
    painter.Paint(canvas.dc(), kClient, image);
    EXPECT_TRUE(canvas.IsPicture(0, 0));
    EXPECT_TRUE(canvas.IsPicture(kCanvasWidth - 1, kCanvasHeight - 1));
}

TEST(SplashPainter, HiddenOrDamagedPictureLeavesTheWindowBlack) {
    Win32SplashPainter damaged(GetModuleHandleW(nullptr), "TRUNCATED", RGB(0, 0, 0));
    TImage image = StretchedTo1024x768(damaged);
    Canvas canvas;
    damaged.Paint(canvas.dc(), kClient, image);
    EXPECT_TRUE(canvas.IsBlack(0, 0));
    EXPECT_TRUE(canvas.IsBlack(512, 384));

    Win32SplashPainter missing(GetModuleHandleW(nullptr), "NO_SUCH_PICTURE", RGB(0, 0, 0));
    EXPECT_EQ(missing.PictureNaturalSize().width, 0);
    Canvas hidden;
    image.SetVisible(false);
    Win32SplashPainter good(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    good.Paint(hidden.dc(), kClient, image);
    EXPECT_TRUE(hidden.IsBlack(512, 384));
}

std::vector<std::uint8_t> ResourceCopy(const char* name) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    return std::vector<std::uint8_t>(data, data + SizeofResource(module, found));
}

// Tools show a picture the launcher will carry from bytes they hold: the same pixels as the resource.
TEST(SplashPainter, PictureFromBytesPaintsAsTheSameResourceDoes) {
    const std::vector<std::uint8_t> bytes = ResourceCopy("SPLASH");
    ASSERT_FALSE(bytes.empty());
    Win32SplashPainter fromResource(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    Win32SplashPainter fromBytes(bytes, RGB(0, 0, 0));
    EXPECT_EQ(fromBytes.PictureNaturalSize().width, 800);
    EXPECT_EQ(fromBytes.PictureNaturalSize().height, 600);
    TImage tall(kForm1Definition.image1, fromBytes.PictureNaturalSize());
    tall.SetStretch(true);
    tall.SetHeight(960);
    tall.SetWidth(1280);
    const TImage unstretched(kForm1Definition.image1, fromBytes.PictureNaturalSize());
    for (const TImage& image : {StretchedTo1024x768(fromBytes), tall, unstretched}) {
        Canvas expected, painted;
        fromResource.Paint(expected.dc(), kClient, image);
        fromBytes.Paint(painted.dc(), kClient, image);
        int differing = 0;
        for (int y = 0; y < kCanvasHeight; y += 3)
            for (int x = 0; x < kCanvasWidth; x += 3) differing += expected.At(x, y) != painted.At(x, y);
        EXPECT_EQ(differing, 0) << image.Width() << " x " << image.Height();
    }
}

TEST(SplashPainter, DamagedOrNoBytesLeaveTheWindowBlack) {
    const std::vector<std::uint8_t> truncated = ResourceCopy("TRUNCATED");
    Win32SplashPainter damaged(truncated, RGB(0, 0, 0));
    Canvas canvas;
    damaged.Paint(canvas.dc(), kClient, StretchedTo1024x768(damaged));
    EXPECT_TRUE(canvas.IsBlack(512, 384));
    Win32SplashPainter none(std::span<const std::uint8_t>(), RGB(0, 0, 0));
    EXPECT_EQ(none.PictureNaturalSize().width, 0);
    Canvas empty;
    none.Paint(empty.dc(), kClient, StretchedTo1024x768(none));
    EXPECT_TRUE(empty.IsBlack(0, 0));
    EXPECT_TRUE(empty.IsBlack(512, 384));
}

// The paint narrows the clipping and changes the stretch mode for itself only: a window's paint DC
// left clipped would keep later drawing (the next paint's background among it) off the screen.
TEST(SplashPainter, LeavesTheCallersClippingAndModesAsTheyWere) {
    Win32SplashPainter painter(GetModuleHandleW(nullptr), "SPLASH", RGB(0, 0, 0));
    TImage unstretched(kForm1Definition.image1, painter.PictureNaturalSize());
    TImage tooWide = unstretched;
    tooWide.SetStretch(true);
    tooWide.SetHeight(52500);
    tooWide.SetWidth(70000);
    for (const TImage& image : {unstretched, StretchedTo1024x768(painter), tooWide}) {
        Canvas canvas;
        IntersectClipRect(canvas.dc(), 10, 20, 900, 800);
        SetStretchBltMode(canvas.dc(), BLACKONWHITE);
        painter.Paint(canvas.dc(), kClient, image);
        RECT clip{};
        EXPECT_EQ(GetClipBox(canvas.dc(), &clip), SIMPLEREGION);
        EXPECT_EQ(clip.left, 10);
        EXPECT_EQ(clip.top, 20);
        EXPECT_EQ(clip.right, 900);
        EXPECT_EQ(clip.bottom, 800);
        EXPECT_EQ(GetStretchBltMode(canvas.dc()), BLACKONWHITE);
        EXPECT_EQ(canvas.At(5, 5), kUnpainted);
        EXPECT_FALSE(canvas.At(500, 500) == kUnpainted);
    }
}

}  // namespace
}  // namespace autorun
