// Dialog units: the window is laid out in quarters of the message font's average character width and
// eighths of its height, so that it grows with the font and the screen's DPI as a dialog does.
#pragma once

#include <windows.h>

#include "win32_gdi_objects.h"

namespace disc_maker {

class DialogUnits {
   public:
    // The system's message font (NONCLIENTMETRICS), which follows the DPI setting.
    DialogUnits();

    HFONT font() const { return font_.get(); }
    int X(int units) const { return MulDiv(units, baseX_, 4); }
    int Y(int units) const { return MulDiv(units, baseY_, 8); }

   private:
    autorun::GdiObject<HFONT> font_;
    int baseX_ = 6;
    int baseY_ = 13;
};

}  // namespace disc_maker
