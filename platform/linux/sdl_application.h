// The application object: its title, its one main window, the event loop, and the error box that
// reports an exception that left an event handler.
#pragma once

#include <memory>
#include <string>

#include "form_host.h"
#include "posix_form_system.h"
#include "sdl_form_window.h"
#include "sdl_handles.h"

namespace autorun {

class SdlApplication : public ErrorBox {
   public:
    // `modulePath` is the launcher's path as the form is to see it.
    explicit SdlApplication(std::string modulePath);

    void SetTitle(const std::string& title) { title_ = title; }
    // Builds the main window from its definition and runs its creation handler; an error there
    // is reported at once and start-up goes on.  False when there is no display (the reason on
    // stderr) or no window can be made on it (an error box): then nothing can be shown and no game
    // is started.
    bool CreateMainForm(const FormDefinition& definition);
    // Shows the main window and handles events until it closes; returns the exit code.
    int Run();
    // Modal error box: caption the title, error icon, OK button; on stderr when no box can be shown.
    void ShowError(const std::string& message) override;

   private:
    std::string title_;
    PosixFormSystem system_;
    SdlVideo video_;
    // Declared before the window, which hands the host its events until it is destroyed.
    FormHost host_{*this, ActivationPolicy::kRunOnce};
    std::unique_ptr<SdlFormWindow> window_;
};

}  // namespace autorun
