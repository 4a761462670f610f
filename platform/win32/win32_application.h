// The application object: its title, its one main window, the event loop, and the report of an
// exception that left an event handler.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "form1.h"
#include "win32_form_window.h"

namespace autorun {

class Win32Application {
   public:
    explicit Win32Application(HINSTANCE instance) : instance_(instance) {}

    void SetTitle(const std::string& title) { title_ = title; }
    // Builds the main window from its definition and runs its creation handler; an error there
    // is reported at once and start-up goes on.  False, after an error box, when the system won't
    // make the window: then nothing can be shown and no game is started.
    bool CreateMainForm(const FormDefinition& definition);
    // Shows the main window and handles messages until it closes; returns the exit code.
    int Run();
    // Modal error box: caption the title, stop icon, OK button, the message with its full stop.
    void ShowException(const std::exception& error) const;

   private:
    HINSTANCE instance_;
    std::string title_;
    std::unique_ptr<Win32FormWindow> window_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace autorun
