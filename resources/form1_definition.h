// Fixed definition of the main window and its picture control, as the window is built from it.
#pragma once

#include "resource_ids.h"

namespace autorun {

struct ImageDefinition {
    int left, top, width, height;
    bool visible, stretch, center, autoSize;
    const char* pictureResource;  // RCDATA resource holding the JPEG
};

struct FormDefinition {
    const char* className;
    int clientWidth, clientHeight;
    unsigned long backgroundRgb;  // 0x00BBGGRR, as a COLORREF
    bool borderless, topmost, centredOnScreen;
    ImageDefinition image1;
};

inline constexpr FormDefinition kForm1Definition = {
    "TForm1", 200,  200,  0x000000,
    true,     true, true, {0, 0, 105, 105, true, false, false, false, kSplashResource},
};

}  // namespace autorun
