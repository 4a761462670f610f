// The main window as Win32 sees it: a window built from the form's definition, whose messages
// are turned into the form's handlers, and which carries out what the handlers ask of it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "form1.h"
#include "form1_definition.h"
#include "form_platform.h"
#include "win32_splash_painter.h"

namespace autorun {

class Win32FormWindow : public FormPlatform {
   public:
    // Reports an exception that left a handler; the program then carries on.
    using ErrorReporter = std::function<void(const std::exception&)>;

    // Throws MessageError, with the system's reason, when the window can't be made.
    Win32FormWindow(HINSTANCE instance, const FormDefinition& definition, const wchar_t* title,
                    ErrorReporter reportError);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    // Binds the form whose handlers the window's messages call and whose picture it paints.
    void Bind(TForm1& form) { form_ = &form; }
    // Shows the window centred and active, which runs the activation handler.
    void Show();
    bool IsOpen() const { return window_ != nullptr; }
    // Natural size of the splash picture, read from its header without decoding it.
    PictureSize SplashPictureSize() const { return painter_.PictureNaturalSize(); }
    // Closes the window if an exception cut the splash sequence short, so that nothing keeps the
    // program from ending.
    void CloseIfSequenceAbandoned();

    std::string ModuleFileName() override;
    PathSyntax PathRules() override { return kWindowsPaths; }
    std::string SettingsFileName() override;
    // The settings file holds the name in the system's ANSI code page.
    std::string PathFromSettingsText(const std::string& text) override;
    void RaiseWindow() override;
    void MaximizeWindow() override;
    int ScreenWidth() override;
    void RepaintNow() override;
    void Wait(unsigned milliseconds) override;
    void StartProcess(const std::string& executablePath) override;
    void CloseWindow() override;

   private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnActivate();
    void OnPaint();

    std::wstring className_;
    HWND window_ = nullptr;
    TForm1* form_ = nullptr;
    bool activating_ = false;
    ErrorReporter reportError_;
    Win32SplashPainter painter_;
};

}  // namespace autorun
