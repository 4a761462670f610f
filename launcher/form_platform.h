// What the main window's handlers ask of the operating system.  The Win32 window implements it;
// unit tests substitute a recorder, so the splash sequence itself stays plain C++.
#pragma once

#include <string>

namespace autorun {

class FormPlatform {
   public:
    virtual ~FormPlatform() = default;

    // Full path of the running executable.
    virtual std::wstring ModuleFileName() = 0;
    // Text in the system's ANSI code page, widened.
    virtual std::wstring FromAnsiCodePage(const std::string& text) = 0;

    // Top of the z-order, without moving or resizing.
    virtual void RaiseWindow() = 0;
    virtual void MaximizeWindow() = 0;
    virtual int ScreenWidth() = 0;
    // Paints the window before returning, and gets the result onto the screen.
    virtual void RepaintNow() = 0;
    // Blocks the thread; no message is taken from the queue.
    virtual void Wait(unsigned milliseconds) = 0;
    // Starts a process without waiting for it; failures are ignored.
    virtual void StartProcess(const std::wstring& applicationName, const std::wstring& commandLine) = 0;
    // Closes the main window, which ends the program.
    virtual void CloseWindow() = 0;
};

}  // namespace autorun
