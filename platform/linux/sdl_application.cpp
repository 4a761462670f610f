#include "sdl_application.h"

#include <cstdio>

#include "launcher_dir.h"
#include "splash_from_windows_launcher.h"

namespace autorun {

SdlApplication::SdlApplication(std::string modulePath) : system_(std::move(modulePath)) {}

bool SdlApplication::CreateMainForm(const FormDefinition& definition) {
    if (!video_.Ready()) {
        std::fprintf(stderr, "%s: no display: %s\n", title_.c_str(), SDL_GetError());
        return false;
    }
    return host_.CreateMainForm(
        [&]() -> HostedWindow& {
            window_ = std::make_unique<SdlFormWindow>(
                definition, title_,
                SplashFromWindowsLauncher(DirectoryOfModule(system_.ModuleFileName(), system_.PathRules())),
                host_);
            return *window_;
        },
        system_, definition);
}

int SdlApplication::Run() {
    window_->Show();
    SDL_Event event;
    while (window_->IsOpen() && SDL_WaitEvent(&event)) {
        window_->HandleEvent(event);
        host_.CloseIfSequenceAbandoned();
    }
    return 0;
}

void SdlApplication::ShowError(const std::string& message) {
    // A desktop that can't show the box still gets the reason where the launcher was started from.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title_.c_str(), message.c_str(), nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", title_.c_str(), message.c_str());
}

}  // namespace autorun
