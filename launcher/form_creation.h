// How a window framework creates the main form: bound to its window, which paints the form's
// picture and delivers its events, then its creation handler, whose error is reported while
// start-up goes on.  A window that can't be made is reported the same way on every platform.
#pragma once

#include <exception>
#include <memory>

#include "form1.h"
#include "startup_phases.h"

namespace autorun {

template <typename Window, typename ErrorReport>
std::unique_ptr<TForm1> CreateForm1(Window& window, const FormDefinition& definition, ErrorReport report) {
    auto form = std::make_unique<TForm1>(window, definition, window.SplashPictureSize());
    window.Bind(*form);
    MarkPhase("window creation");
    try {
        form->FormCreate();
    } catch (const std::exception& error) {
        report(error);
    }
    return form;
}

// Makes the main window with `makeWindow`, which throws when the system won't make it, then the
// form on it as CreateForm1 does.  A window that can't be made is reported with `report`, and there
// is no form: nothing can be shown and no game is started, so the program ends with a failure.
template <typename Window, typename MakeWindow, typename ErrorReport>
std::unique_ptr<TForm1> CreateMainWindowAndForm1(std::unique_ptr<Window>& window, MakeWindow makeWindow,
                                                 const FormDefinition& definition, ErrorReport report) {
    try {
        window = makeWindow();
    } catch (const std::exception& error) {
        report(error);
        return nullptr;
    }
    return CreateForm1(*window, definition, report);
}

}  // namespace autorun
