// The launcher's main window: its picture control and the handlers that run the whole program.
#pragma once

#include "form1_definition.h"
#include "form_platform.h"
#include "image_control.h"

namespace autorun {

inline constexpr unsigned kSplashToGameMs = 1000;
inline constexpr unsigned kGameToCloseMs = 1000;

class TForm1 {
   public:
    TForm1(FormPlatform& platform, const FormDefinition& definition, PictureSize splashPicture);

    // Creation handler: works out LauncherDir and reads the launch settings (may throw LauncherError).
    void FormCreate();
    // Activation handler: raises the window and runs the splash sequence, which closes it.
    // The windows guard it differently, on purpose.  Win32 sends WM_ACTIVATE synchronously from
    // inside the calls the handler itself makes (raising, maximizing), so the Win32 window refuses
    // only those nested calls: a later activation runs the handler again, as a form's activation
    // handler runs on every activation.  SDL queues its events, so nothing nests there; instead one
    // appearance arrives as several events (shown, then focus gained where a window manager gives
    // it) one after the other, so the SDL window runs the handler once only.
    void FormActivate();
    void ShowSplashAndStartGame();
    void StartGame();

    // True while the splash sequence has begun but not finished: seen from outside the handler,
    // the sequence was abandoned by an exception and the window must still be closed.
    bool SequenceUnfinished() const { return sequenceUnfinished_; }

    TImage Image1;

   private:
    void ScaleImageToScreenWidth();

    FormPlatform& platform_;
    bool sequenceUnfinished_ = false;
};

}  // namespace autorun
