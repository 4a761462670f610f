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
    ScaleImageToScreenWidth();
    Image1.SetVisible(true);
    window_.RepaintNow();
    window_.Wait(kSplashToGameMs);
    StartGame();
    window_.Wait(kGameToCloseMs);
    sequenceUnfinished_ = false;
    window_.CloseWindow();
}

void TForm1::ScaleImageToScreenWidth() {
    Image1.SetAutoSize(true);
    Image1.SetStretch(true);
    Image1.SetAutoSize(false);
    const int screenWidth = window_.ScreenWidth();
    // Height first, from the natural size; the product stays in signed 32 bits.
    Image1.SetHeight(
        static_cast<int>(static_cast<long long>(screenWidth) * Image1.Height() / Image1.Width()));
    Image1.SetWidth(screenWidth);
}

void TForm1::StartGame() {
    system_.StartProcess(LauncherDir + system_.PathFromSettingsText(GameExeName));
}

}  // namespace autorun
