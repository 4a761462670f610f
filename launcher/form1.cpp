#include "form1.h"

#include "launch_settings.h"
#include "launcher_dir.h"

namespace autorun {

TForm1::TForm1(FormPlatform& platform, const FormDefinition& definition, PictureSize splashPicture)
    : Image1(definition.image1, splashPicture), platform_(platform) {}

void TForm1::FormCreate() {
    LauncherDir = DirectoryOfModule(platform_.ModuleFileName(), platform_.PathRules());
    ReadLaunchSettings(platform_.SettingsFileName());
}

void TForm1::FormActivate() {
    platform_.RaiseWindow();
    ShowSplashAndStartGame();
}

void TForm1::ShowSplashAndStartGame() {
    sequenceUnfinished_ = true;
    Image1.SetVisible(false);
    platform_.MaximizeWindow();
    ScaleImageToScreenWidth();
    Image1.SetVisible(true);
    platform_.RepaintNow();
    platform_.Wait(kSplashToGameMs);
    StartGame();
    platform_.Wait(kGameToCloseMs);
    sequenceUnfinished_ = false;
    platform_.CloseWindow();
}

void TForm1::ScaleImageToScreenWidth() {
    Image1.SetAutoSize(true);
    Image1.SetStretch(true);
    Image1.SetAutoSize(false);
    const int screenWidth = platform_.ScreenWidth();
    // Height first, from the natural size; the product stays in signed 32 bits.
    Image1.SetHeight(
        static_cast<int>(static_cast<long long>(screenWidth) * Image1.Height() / Image1.Width()));
    Image1.SetWidth(screenWidth);
}

void TForm1::StartGame() {
    platform_.StartProcess(LauncherDir + platform_.PathFromSettingsText(GameExeName));
}

}  // namespace autorun
