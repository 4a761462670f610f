#include "form_host.h"

#include "error_report.h"
#include "startup_phases.h"

namespace autorun {

void FormHost::CreateForm(HostedWindow& window, FormSystem& system, const FormDefinition& definition) {
    window_ = &window;
    form_ = std::make_unique<TForm1>(window, system, definition, window.SplashPictureSize());
    MarkPhase("window creation");
    RunHandler([this] { form_->FormCreate(); });
}

void FormHost::Activate() {
    if (!form_ || activating_ || (policy_ == ActivationPolicy::kRunOnce && activated_)) return;
    activated_ = true;
    struct ActivationScope {
        bool& flag;
        explicit ActivationScope(bool& f) : flag(f) { flag = true; }
        ~ActivationScope() { flag = false; }
    } scope(activating_);
    form_->FormActivate();
}

void FormHost::ReportError(const std::exception& error) noexcept {
    // A box that can't be shown (no memory for its text) must not end the program.
    try {
        errorBox_.ShowError(WithFullStop(error.what()));
    } catch (...) {
    }
}

void FormHost::CloseIfSequenceAbandoned() {
    if (window_ && window_->IsOpen() && form_ && form_->SequenceUnfinished()) window_->CloseWindow();
}

}  // namespace autorun
