// The launcher's main window: its picture control and the handlers that run the whole program.
#pragma once

#include <string>

#include "disc_file_names.h"
#include "form1_definition.h"
#include "form_system.h"
#include "form_window.h"
#include "image_control.h"

namespace autorun {

inline constexpr unsigned kSplashToGameMs = 1000;
inline constexpr unsigned kGameToCloseMs = 1000;

class TForm1 {
   public:
    TForm1(FormWindow& window, FormSystem& system, const FormDefinition& definition,
           PictureSize splashPicture);

    // Creation handler: works out LauncherDir and reads the launch settings into GameExeName
    // (may throw LauncherError, which leaves GameExeName at its default).
    void FormCreate();
    // Activation handler: raises the window and runs the splash sequence, which closes it.
    // FormHost guards it; its activation policies say why the two windows guard it differently.
    void FormActivate();
    void ShowSplashAndStartGame();
    void StartGame();

    // True while the splash sequence has begun but not finished: seen from outside the handler,
    // the sequence was abandoned by an exception and the window must still be closed.
    bool SequenceUnfinished() const { return sequenceUnfinished_; }

    TImage Image1;
    // The directory the launcher lies in, ending with exactly one directory separator; set by
    // FormCreate.
    std::string LauncherDir;
    // File name of the game's executable, relative to LauncherDir, as the settings file stores it
    // (the ANSI code page on Windows); the default until the settings have been read.
    std::string GameExeName = kDefaultGameExeName;

   private:
    FormWindow& window_;
    FormSystem& system_;
    bool sequenceUnfinished_ = false;
};

}  // namespace autorun
