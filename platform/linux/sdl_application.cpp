#include "sdl_application.h"

#include <cstdio>

#include "error_report.h"
#include "form_creation.h"
#include "launcher_dir.h"
#include "splash_from_windows_launcher.h"

namespace autorun {

SdlApplication::SdlApplication(std::string modulePath) : modulePath_(std::move(modulePath)) {}

bool SdlApplication::CreateMainForm(const FormDefinition& definition) {
    if (!video_.Ready()) {
        std::fprintf(stderr, "%s: no display: %s\n", title_.c_str(), SDL_GetError());
        return false;
    }
    const auto report = [this](const std::exception& error) { ShowException(error); };
    form_ = CreateMainWindowAndForm1(
        window_,
        [&] {
            return std::make_unique<SdlFormWindow>(
                definition, title_, modulePath_,
                SplashFromWindowsLauncher(DirectoryOfModule(modulePath_, kPosixPaths)), report);
        },
        definition, report);
    return form_ != nullptr;
}

int SdlApplication::Run() {
    window_->Show();
    SDL_Event event;
    while (window_->IsOpen() && SDL_WaitEvent(&event)) {
        window_->HandleEvent(event);
        window_->CloseIfSequenceAbandoned();
    }
    return 0;
}

void SdlApplication::ShowException(const std::exception& error) const {
    const std::string message = WithFullStop(error.what());
    // A desktop that can't show the box still gets the reason where the launcher was started from.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title_.c_str(), message.c_str(), nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", title_.c_str(), message.c_str());
}

}  // namespace autorun
