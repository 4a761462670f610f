// The disc maker's controls, where they go and in which order: creation order is the tab order, so
// the table runs in reading order, each label just before its field (which gives the label's access
// key to the field).
#pragma once

#include <windows.h>

#include "dialog_units.h"

namespace disc_maker {

// The client area's size in dialog units.
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 366;

// Makes every control, each with the dialog font.
void CreateControls(HWND window, HINSTANCE instance, const DialogUnits& units);

}  // namespace disc_maker
