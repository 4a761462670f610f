// The splash as players will see it, in a child window of the disc maker: the picture scaled to the
// width of a screen of the chosen shape, black below, the rows the screen cuts off marked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace disc_maker {

enum class ScreenShape { k4x3, k16x10, k16x9 };

// Once per process, before the first CreateSplashPreview.
void RegisterSplashPreview(HINSTANCE instance);

HWND CreateSplashPreview(HWND parent, int controlId, HINSTANCE instance);

// The JPEG the launcher will carry; empty when there is no picture to show.
void ShowSplashInPreview(HWND preview, std::vector<std::uint8_t> jpeg);

void SetPreviewScreen(HWND preview, ScreenShape shape);

}  // namespace disc_maker
