// How a window framework creates the main form: bound to its window, which paints the form's
// picture and delivers its events, then its creation handler, whose error is reported while
// start-up goes on.
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

}  // namespace autorun
