// The disc maker's one window: the fields of a disc, Make, and what the make found.
#pragma once

#include <windows.h>

#include <string>

namespace disc_maker {

// Registers the window's class and the preview's; once per process.
bool RegisterMakerWindow(HINSTANCE instance);

// The window, shown, with `projectFile` opened unless it is empty; null when it could not be made.
// It ends the message loop when it closes.
HWND CreateMakerWindow(HINSTANCE instance, int show, const std::wstring& projectFile);

// Ctrl+O and Ctrl+S, for the message loop; the caller destroys the table.
HACCEL CreateMakerAccelerators();

}  // namespace disc_maker
