// The application object: its title, its one main window, the event loop, and the error box that
// reports an exception that left an event handler.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "form_host.h"
#include "win32_form_system.h"
#include "win32_form_window.h"

namespace autorun {

class Win32Application : public ErrorBox {
   public:
    explicit Win32Application(HINSTANCE instance) : instance_(instance) {}

    void SetTitle(const std::string& title) { title_ = title; }
    // Builds the main window from its definition and runs its creation handler; an error there
    // is reported at once and start-up goes on.  False, after an error box, when the system won't
    // make the window: then nothing can be shown and no game is started.
    bool CreateMainForm(const FormDefinition& definition);
    // Shows the main window and handles messages until it closes; returns the exit code.
    int Run();
    // Modal error box: caption the title, stop icon, OK button.
    void ShowError(const std::string& message) override;

   private:
    HINSTANCE instance_;
    std::string title_;
    Win32FormSystem system_;
    // Declared before the window, which hands the host its messages until it is destroyed.
    FormHost host_{*this, ActivationPolicy::kRefuseNested};
    std::unique_ptr<Win32FormWindow> window_;
};

}  // namespace autorun
