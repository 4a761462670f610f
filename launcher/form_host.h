// Where a window framework meets the form, the same for every platform: the main window and the form
// bound to it, the guard on the activation handler, the report of an exception that left a handler,
// and the window's closing when such an exception cut the splash sequence short.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <type_traits>

#include "form1.h"
#include "form_system.h"
#include "form_window.h"
#include "message_error.h"

namespace autorun {

// The main window as the host needs it, besides what the form's handlers ask of it.
class HostedWindow : public FormWindow {
   public:
    // Natural size of the splash picture, read from its header without decoding it.
    virtual PictureSize SplashPictureSize() const = 0;
    virtual bool IsOpen() const = 0;
};

// Shows one error message to the user and returns once it has been seen.
class ErrorBox {
   public:
    virtual ~ErrorBox() = default;
    virtual void ShowError(const std::string& message) = 0;
};

// How the activation handler is guarded; each window framework delivers activations its own way.
enum class ActivationPolicy {
    // Win32 sends WM_ACTIVATE synchronously from inside the calls the handler itself makes (raising,
    // maximizing): only those nested calls are refused, and a later activation runs the handler
    // again, as a form's activation handler runs on every activation.
    kRefuseNested,
    // SDL queues its events, so nothing nests there; instead one appearance arrives as several
    // events (shown, then focus gained where a window manager gives it) one after the other: the
    // handler runs on the first of them only.
    kRunOnce,
};

class FormHost {
   public:
    FormHost(ErrorBox& errorBox, ActivationPolicy policy) : errorBox_(errorBox), policy_(policy) {}
    FormHost(const FormHost&) = delete;
    FormHost& operator=(const FormHost&) = delete;

    // Makes the main window with `makeWindow`, which throws, with the message to show, when the
    // system won't make it; then the form on that window, and runs its creation handler, whose error
    // is reported while start-up goes on.  False, after the report, when there is no window: nothing
    // can be shown then and no game is started.
    template <typename MakeWindow>
    requires std::is_invocable_r_v<HostedWindow&, MakeWindow&>
    bool CreateMainForm(MakeWindow makeWindow, FormSystem& system, const FormDefinition& definition) {
        HostedWindow* window = nullptr;
        try {
            window = &makeWindow();
        } catch (const std::exception& error) {
            ReportError(error);
            return false;
        }
        CreateForm(*window, system, definition);
        return true;
    }

    // The form, whose picture the window paints; none while the window itself is being made.
    const TForm1* Form() const { return form_.get(); }

    // The window was activated: runs the form's activation handler as the policy allows.
    void Activate();

    // Runs one of the window's event handlers.  No exception may cross into the window framework's
    // code that called it: one that leaves the handler is reported, and the program carries on.
    template <typename Handler>
    void RunHandler(Handler&& handler) noexcept {
        try {
            handler();
        } catch (const std::exception& error) {
            ReportError(error);
        } catch (...) {
            ReportError(MessageError("Unexpected error"));
        }
    }

    // The error box: the message with its full stop.
    void ReportError(const std::exception& error) noexcept;

    // Closes the window if an exception cut the splash sequence short, so that nothing keeps the
    // program from ending.  The event loops call it after every event they hand on.
    void CloseIfSequenceAbandoned();

   private:
    void CreateForm(HostedWindow& window, FormSystem& system, const FormDefinition& definition);

    ErrorBox& errorBox_;
    const ActivationPolicy policy_;
    HostedWindow* window_ = nullptr;
    std::unique_ptr<TForm1> form_;
    bool activating_ = false;
    bool activated_ = false;
};

}  // namespace autorun
