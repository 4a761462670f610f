// The main window as Win32 sees it: a window built from the form's definition, whose messages
// are turned into the form's handlers through the host, and which carries out what the handlers
// ask of it.
#pragma once

#include <windows.h>

#include <string>

#include "form1_definition.h"
#include "form_host.h"
#include "win32_splash_painter.h"

namespace autorun {

class Win32FormWindow : public HostedWindow {
   public:
    // Throws MessageError, with the system's reason, when the window can't be made.  `host` hands
    // the window's messages to the form and must outlive the window.
    Win32FormWindow(HINSTANCE instance, const FormDefinition& definition, const wchar_t* title,
                    FormHost& host);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    // Shows the window centred and active, which runs the activation handler.
    void Show();
    HWND Handle() const { return window_; }

    // The form's window, in the order the sequence uses it.
    int ScreenWidth() override;
    void RaiseWindow() override;
    // The system maximizes the borderless window over the whole screen.
    void MaximizeWindow() override;
    // Flushes GDI and lets Wine put the fresh pixels on the screen before the wait begins.
    void RepaintNow() override;
    // Sleeps: no message, user input included, is handled meanwhile.
    void Wait(unsigned milliseconds) override;
    void CloseWindow() override;

    // What the host asks of the window it made.
    bool IsOpen() const override { return window_ != nullptr; }
    PictureSize SplashPictureSize() const override { return painter_.PictureNaturalSize(); }

   private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    std::wstring className_;
    HWND window_ = nullptr;
    FormHost& host_;
    Win32SplashPainter painter_;
};

}  // namespace autorun
