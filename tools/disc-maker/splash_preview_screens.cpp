#include "splash_preview_screens.h"

#include <algorithm>

#include "form1_definition.h"

namespace disc_maker {

PreviewScreen ScreenOf(ScreenShape shape) {
    switch (shape) {
        case ScreenShape::k16x10:
            return {1280, 800};
        case ScreenShape::k16x9:
            return {1366, 768};
        case ScreenShape::k4x3:
            break;
    }
    return {1024, 768};
}

int SplashOnScreen::RowsCut() const {
    // Without a picture the launcher shows a black screen, whatever size its control has.
    if (image.Picture().height <= 0) return 0;
    return std::max(0, image.Top() + image.Height() - screen.height);
}

int SplashOnScreen::RenderHeight() const {
    return screen.height + RowsCut();
}

SplashOnScreen LayOutSplash(autorun::PictureSize picture, ScreenShape shape) {
    SplashOnScreen splash{ScreenOf(shape), autorun::TImage(autorun::kForm1Definition.image1, picture)};
    autorun::StretchToScreenWidth(splash.image, splash.screen.width);
    return splash;
}

std::wstring CutText(const SplashOnScreen& splash) {
    // The shape is on the buttons beside the preview; the caption must fit under a small one.
    const std::wstring screen =
        L" on " + std::to_wstring(splash.screen.width) + L" x " + std::to_wstring(splash.screen.height);
    if (splash.RowsCut() == 0) return L"the whole picture shows" + screen;
    return std::to_wstring(splash.RowsCut()) + L" of " + std::to_wstring(splash.image.Height()) +
           L" rows cut off" + screen;
}

PreviewFit FitPreview(int areaWidth, int areaHeight, int renderWidth, int renderHeight, int screenHeight) {
    PreviewFit fit;
    if (areaWidth <= 0 || areaHeight <= 0 || renderWidth <= 0 || renderHeight <= 0) return fit;
    // Width-bound unless that would be too tall; products in 64 bits, screens times controls.
    const long long byWidth = static_cast<long long>(areaWidth) * renderHeight / renderWidth;
    if (byWidth <= areaHeight) {
        fit.width = areaWidth;
        fit.height = static_cast<int>(byWidth);
    } else {
        fit.width = static_cast<int>(static_cast<long long>(areaHeight) * renderWidth / renderHeight);
        fit.height = areaHeight;
    }
    fit.left = (areaWidth - fit.width) / 2;
    fit.cutRow = fit.top + static_cast<int>(static_cast<long long>(screenHeight) * fit.height / renderHeight);
    return fit;
}

}  // namespace disc_maker
