#include "win32_application.h"

#include "error_report.h"
#include "form_creation.h"
#include "startup_phases.h"
#include "win32_ansi_text.h"

namespace autorun {

bool Win32Application::CreateMainForm(const FormDefinition& definition) {
    MarkPhase("runtime start-up");
    const auto report = [this](const std::exception& error) { ShowException(error); };
    form_ = CreateMainWindowAndForm1(
        window_,
        [&] {
            return std::make_unique<Win32FormWindow>(instance_, definition,
                                                     WidenFromAnsiCodePage(title_).c_str(), report);
        },
        definition, report);
    MarkPhase("settings");
    return form_ != nullptr;
}

int Win32Application::Run() {
    window_->Show();
    MSG message;
    while (window_->IsOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        window_->CloseIfSequenceAbandoned();
    }
    return 0;
}

void Win32Application::ShowException(const std::exception& error) const {
    MessageBoxA(nullptr, WithFullStop(error.what()).c_str(), title_.c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace autorun
