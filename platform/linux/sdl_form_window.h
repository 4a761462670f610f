// The main window as SDL sees it: a window built from the form's definition, whose events are
// turned into the form's handlers through the host, and which carries out what the handlers ask
// of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "form1_definition.h"
#include "form_host.h"
#include "sdl_handles.h"
#include "sdl_splash_painter.h"

namespace autorun {

class SdlFormWindow : public HostedWindow {
   public:
    // `splashJpeg` may be empty.  Throws MessageError, with SDL's reason, when the window can't be
    // made.  `host` hands the window's events to the form and must outlive the window.
    SdlFormWindow(const FormDefinition& definition, const std::string& title,
                  std::vector<std::uint8_t> splashJpeg, FormHost& host);

    // Maps the window centred; its first appearance runs the activation handler.
    void Show();
    // Turns one event of the application's loop into the form's handlers.
    void HandleEvent(const SDL_Event& event);

    PictureSize SplashPictureSize() const override { return painter_.PictureNaturalSize(); }
    bool IsOpen() const override { return window_ != nullptr; }
    void RaiseWindow() override;
    // Places the window over the whole primary screen itself, with or without a window manager.
    void MaximizeWindow() override;
    // The primary screen's.
    int ScreenWidth() override;
    void RepaintNow() override;
    // Repaints whatever the X server asks to be repainted; no user input is handled.
    void Wait(unsigned milliseconds) override;
    void CloseWindow() override;

   private:
    bool IsOurs(const SDL_Event& event) const;
    void DispatchEvent(const SDL_Event& event);
    void Paint();
    SDL_Rect PrimaryScreen() const;

    SdlWindowPtr window_;
    FormHost& host_;
    SdlSplashPainter painter_;
};

}  // namespace autorun
