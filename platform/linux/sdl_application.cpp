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
    auto splash = SplashFromWindowsLauncher(DirectoryOfModule(modulePath_, kPosixPaths));
    try {
        window_ =
            std::make_unique<SdlFormWindow>(definition, title_, modulePath_, std::move(splash),
                                            [this](const std::exception& error) { ShowException(error); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", title_.c_str(), error.what());
        return false;
    }
    form_ = CreateForm1(*window_, definition, [this](const std::exception& error) { ShowException(error); });
    return true;
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
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title_.c_str(), WithFullStop(error.what()).c_str(),
                             nullptr);
}

}  // namespace autorun
