// The splash as players will see it, in a child window of the disc maker: the picture scaled to the
// width of a screen of the chosen shape, black below, the rows the screen cuts off marked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "splash_preview_screens.h"

namespace disc_maker {

// Once per process, before the first CreateSplashPreview.
void RegisterSplashPreview(HINSTANCE instance);

// Double-click, or Space while it has the focus, opens the full-size view.
HWND CreateSplashPreview(HWND parent, int controlId, HINSTANCE instance);

// The JPEG the launcher will carry; empty when there is no picture to show.
void ShowSplashInPreview(HWND preview, std::vector<std::uint8_t> jpeg);

void SetPreviewScreen(HWND preview, ScreenShape shape);

// The launcher's exact pixels: a borderless, topmost window over the primary monitor, the chosen
// screen drawn 1:1 by the launcher's painter at its top left (centred on a larger monitor, black
// around).  Esc, a click or another window coming forward closes it.  Returns the window, or null
// when it could not be made.
HWND ShowFullSizePreview(HWND preview);

// What the preview shows now, in its own numbers.
struct PreviewLayout {
    PreviewScreen screen{};
    // The picture control's height on that screen, and its rows below the screen (0 without a picture).
    int pictureHeight = 0;
    int rowsCut = 0;
    // Where the screen, and the cut rows below it (at most three more screens' worth), are drawn in
    // the preview's client area.
    PreviewFit fit{};
    bool hasPicture = false;
};
PreviewLayout GetPreviewLayout(HWND preview);

}  // namespace disc_maker
