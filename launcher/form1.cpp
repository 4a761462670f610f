#include "form1.h"

#include "launch_settings.h"
#include "launcher_dir.h"

namespace autorun {

TForm1::TForm1(FormWindow& window, FormSystem& system, const FormDefinition& definition,
               PictureSize splashPicture)
    : Image1(definition.image1, splashPicture), window_(window), system_(system) {}

void TForm1::FormCreate() {
    LauncherDir = DirectoryOfModule(system_.ModuleFileName(), system_.PathRules());
    GameExeName = ReadLaunchSettings(system_.SettingsFileName());
}

void TForm1::FormActivate() {
    window_.RaiseWindow();
    ShowSplashAndStartGame();
}

void TForm1::ShowSplashAndStartGame() {
    sequenceUnfinished_ = true;
    Image1.SetVisible(false);
    window_.MaximizeWindow();
    StretchToScreenWidth(Image1, window_.ScreenWidth());
    Image1.SetVisible(true);
    window_.RepaintNow();
    window_.Wait(kSplashToGameMs);
    StartGame();
    window_.Wait(kGameToCloseMs);
    sequenceUnfinished_ = false;
    window_.CloseWindow();
}

void TForm1::StartGame() {
    system_.StartProcess(LauncherDir + system_.PathFromSettingsText(GameExeName));
}

}  // namespace autorun
