// The disc maker's one window: the fields of a disc, Make, and what the make found.
#pragma once

#include <windows.h>

namespace disc_maker {

// Registers the window's class and the preview's; once per process.
bool RegisterMakerWindow(HINSTANCE instance);

// The window, shown; null when it could not be made.  It ends the message loop when it closes.
HWND CreateMakerWindow(HINSTANCE instance, int show);

}  // namespace disc_maker
