// The preview's numbers: rows each screen cuts off, taken from the launcher's own picture control,
// and where the scaled preview puts the screen and its cut.
#include "splash_preview_screens.h"

#include <gtest/gtest.h>

namespace disc_maker {
namespace {

using autorun::PictureSize;

TEST(SplashPreviewScreens, RowsCutPerShapeFollowTheLaunchersControl) {
    const struct {
        PictureSize picture;
        int cut4x3, cut16x10, cut16x9;
    } cases[] = {
        // 4:3 fills a 4:3 screen exactly; the wide screens cut it.
        {{800, 600}, 0, 160, 256},
        // Wider than any of the screens: all of it shows, black below.
        {{1600, 600}, 0, 0, 0},
        // Tall: 1024 * 1000 / 800 = 1280, 1600, and 1366 * 1000 / 800 = 1707.5, truncated as the
        // launcher does.
        {{800, 1000}, 512, 800, 939},
        // Odd sizes round down in the launcher's integer arithmetic.
        {{801, 601}, 0, 160, 256},
        {{16, 9}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LayOutSplash(c.picture, ScreenShape::k4x3).RowsCut(), c.cut4x3) << c.picture.width;
        EXPECT_EQ(LayOutSplash(c.picture, ScreenShape::k16x10).RowsCut(), c.cut16x10) << c.picture.width;
        EXPECT_EQ(LayOutSplash(c.picture, ScreenShape::k16x9).RowsCut(), c.cut16x9) << c.picture.width;
    }
}

TEST(SplashPreviewScreens, ControlIsStretchedToTheScreenWidthFromTheTopLeft) {
    const SplashOnScreen splash = LayOutSplash({800, 1000}, ScreenShape::k16x9);
    EXPECT_EQ(splash.image.Left(), 0);
    EXPECT_EQ(splash.image.Top(), 0);
    EXPECT_EQ(splash.image.Width(), 1366);
    EXPECT_EQ(splash.image.Height(), 1707);
    EXPECT_TRUE(splash.image.Stretch());
    EXPECT_TRUE(splash.image.Visible());
    EXPECT_EQ(splash.RenderHeight(), 1707);
    // A short picture leaves the screen's height to draw.
    EXPECT_EQ(LayOutSplash({1600, 600}, ScreenShape::k4x3).RenderHeight(), 768);
}

TEST(SplashPreviewScreens, NoPictureCutsNothing) {
    // The launcher's control keeps its defined square then; the screen is black, nothing is cut.
    const SplashOnScreen splash = LayOutSplash({0, 0}, ScreenShape::k16x10);
    EXPECT_EQ(splash.RowsCut(), 0);
    EXPECT_EQ(splash.RenderHeight(), 800);
}

TEST(SplashPreviewScreens, TextSaysHowManyRowsAreCutAndOnWhichScreen) {
    EXPECT_EQ(CutText(LayOutSplash({800, 1000}, ScreenShape::k4x3)),
              L"512 of 1280 rows cut off on 1024 x 768");
    EXPECT_EQ(CutText(LayOutSplash({800, 600}, ScreenShape::k4x3)), L"the whole picture shows on 1024 x 768");
    EXPECT_EQ(CutText(LayOutSplash({800, 600}, ScreenShape::k16x10)),
              L"160 of 960 rows cut off on 1280 x 800");
}

TEST(SplashPreviewScreens, FitKeepsTheProportionAndMarksTheCut) {
    // Height-bound: 1024 x 1280 into 400 x 300 is 240 x 300, centred; the screen's 768 rows are 180.
    PreviewFit fit = FitPreview(400, 300, 1024, 1280, 768);
    EXPECT_EQ(fit.width, 240);
    EXPECT_EQ(fit.height, 300);
    EXPECT_EQ(fit.left, 80);
    EXPECT_EQ(fit.top, 0);
    EXPECT_EQ(fit.cutRow, 180);
    // Width-bound: 1366 x 768 into 683 x 500 is 683 x 384, and the cut is its bottom edge.
    fit = FitPreview(683, 500, 1366, 768, 768);
    EXPECT_EQ(fit.width, 683);
    EXPECT_EQ(fit.height, 384);
    EXPECT_EQ(fit.left, 0);
    EXPECT_EQ(fit.cutRow, 384);
    // Nothing to fit into, or nothing to fit.
    fit = FitPreview(0, 300, 1024, 768, 768);
    EXPECT_EQ(fit.width, 0);
    EXPECT_EQ(fit.height, 0);
    fit = FitPreview(400, 300, 1024, 0, 768);
    EXPECT_EQ(fit.height, 0);
}

}  // namespace
}  // namespace disc_maker
