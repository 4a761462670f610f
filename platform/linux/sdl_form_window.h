// The main window as SDL sees it: a window built from the form's definition, whose events are
// turned into the form's handlers, and which carries out what the handlers ask of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "form1.h"
#include "form1_definition.h"
#include "form_platform.h"
#include "sdl_handles.h"
#include "sdl_splash_painter.h"

namespace autorun {

class SdlFormWindow : public FormPlatform {
   public:
    // Reports an exception that left a handler; the program then carries on.
    using ErrorReporter = std::function<void(const std::exception&)>;

    // `modulePath` is the launcher's path as the form is to see it; `splashJpeg` may be empty.
    SdlFormWindow(const FormDefinition& definition, const std::string& title, std::string modulePath,
                  std::vector<std::uint8_t> splashJpeg, ErrorReporter reportError);

    void Bind(TForm1& form) { form_ = &form; }
    // Maps the window centred; its first appearance runs the activation handler.
    void Show();
    bool IsOpen() const { return window_ != nullptr; }
    PictureSize SplashPictureSize() const { return painter_.PictureNaturalSize(); }
    // Turns one event of the application's loop into the form's handlers.
    void HandleEvent(const SDL_Event& event);
    // Closes the window if an exception cut the splash sequence short.
    void CloseIfSequenceAbandoned();

    std::string ModuleFileName() override { return modulePath_; }
    PathSyntax PathRules() override { return kPosixPaths; }
    std::string SettingsFileName() override;
    // Names on Linux discs are taken byte for byte, as the file system stores them.
    std::string PathFromSettingsText(const std::string& text) override { return text; }
    void RaiseWindow() override;
    void MaximizeWindow() override;
    int ScreenWidth() override;
    void RepaintNow() override;
    void Wait(unsigned milliseconds) override;
    void StartProcess(const std::string& executablePath) override;
    void CloseWindow() override;

   private:
    bool IsOurs(const SDL_Event& event) const;
    void OnActivate();
    void Paint();
    SDL_Rect PrimaryScreen() const;

    std::string modulePath_;
    SdlWindowPtr window_;
    TForm1* form_ = nullptr;
    bool activated_ = false;
    ErrorReporter reportError_;
    SdlSplashPainter painter_;
};

}  // namespace autorun
