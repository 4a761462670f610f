// The screens the preview offers and where the launcher's rules put the splash on each: plain
// arithmetic, so that the numbers the preview shows are the ones the launcher's own control yields.
#pragma once

#include <string>

#include "image_control.h"
#include "jpeg_decoder.h"

namespace disc_maker {

enum class ScreenShape { k4x3, k16x10, k16x9 };

// A common screen of each shape: 1024 x 768, 1280 x 800, and for 16:9 1366 x 768, the most common
// laptop screen (not exactly 16:9, so it cuts a row or so more than a 1920 x 1080 one).
struct PreviewScreen {
    int width, height;
};
PreviewScreen ScreenOf(ScreenShape shape);

// The splash on one screen: the launcher's picture control as the splash sequence leaves it there.
struct SplashOnScreen {
    PreviewScreen screen;
    autorun::TImage image;
    // The control's rows below the screen's bottom edge, which nobody sees.
    int RowsCut() const;
    // The screen's rows and the control's rows below it: what the preview draws.
    int RenderHeight() const;
};
SplashOnScreen LayOutSplash(autorun::PictureSize picture, ScreenShape shape);

// "96 of 864 rows cut off on 4:3 (1024 x 768)", or "the whole picture shows on 4:3 (1024 x 768)".
std::wstring CutText(const SplashOnScreen& splash);

// Where a rendering of renderWidth x renderHeight, of which the top screenHeight rows are the screen,
// lies when it is fitted into an area of the preview: as large as fits in proportion, centred
// across, at the area's top.
struct PreviewFit {
    int left = 0, top = 0, width = 0, height = 0;
    // The area's row of the screen's bottom edge, where the cut is marked.
    int cutRow = 0;
};
PreviewFit FitPreview(int areaWidth, int areaHeight, int renderWidth, int renderHeight, int screenHeight);

}  // namespace disc_maker
