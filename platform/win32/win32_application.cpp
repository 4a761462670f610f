#include "win32_application.h"

#include "startup_phases.h"
#include "win32_ansi_text.h"

namespace autorun {

bool Win32Application::CreateMainForm(const FormDefinition& definition) {
    MarkPhase("runtime start-up");
    const bool made = host_.CreateMainForm(
        [&]() -> HostedWindow& {
            window_ = std::make_unique<Win32FormWindow>(instance_, definition,
                                                        WidenFromAnsiCodePage(title_).c_str(), host_);
            system_.SetPromptOwner(window_->Handle());
            return *window_;
        },
        system_, definition);
    MarkPhase("settings");
    return made;
}

int Win32Application::Run() {
    window_->Show();
    host_.CloseIfSequenceAbandoned();
    MSG message;
    while (window_->IsOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        host_.CloseIfSequenceAbandoned();
    }
    return 0;
}

void Win32Application::ShowError(const std::string& message) {
    MessageBoxA(nullptr, message.c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace autorun
