// What the main window's handlers ask of the window they run in.  The Win32 and the SDL window
// implement it; unit tests substitute a recorder, so the splash sequence itself stays plain C++.
#pragma once

namespace autorun {

class FormWindow {
   public:
    virtual ~FormWindow() = default;

    // Top of the z-order, without moving or resizing.
    virtual void RaiseWindow() = 0;
    virtual void MaximizeWindow() = 0;
    virtual int ScreenWidth() = 0;
    // Paints the window before returning, and gets the result onto the screen.
    virtual void RepaintNow() = 0;
    // Blocks the sequence; no user input is handled.
    virtual void Wait(unsigned milliseconds) = 0;
    // Closes the main window, which ends the program.
    virtual void CloseWindow() = 0;
};

}  // namespace autorun
