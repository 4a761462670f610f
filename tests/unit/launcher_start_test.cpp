// Start-up helpers: the launcher's directory, the text of the error box, and the main window's
// creation as the host runs it for both window frameworks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "error_report.h"
#include "form1_definition.h"
#include "form_host.h"
#include "launcher_dir.h"
#include "message_error.h"
#include "recording_error_box.h"

namespace autorun {
namespace {

TEST(DirectoryOfModule, WindowsPathsEndWithExactlyOneBackslash) {
    EXPECT_EQ(DirectoryOfModule("D:\\AUTORUN.EXE", kWindowsPaths), "D:\\");
    EXPECT_EQ(DirectoryOfModule("D:\\SETUP\\AUTORUN.EXE", kWindowsPaths), "D:\\SETUP\\");
    EXPECT_EQ(DirectoryOfModule("C:\\a\\b\\c\\d\\autorun.exe", kWindowsPaths), "C:\\a\\b\\c\\d\\");
    EXPECT_EQ(DirectoryOfModule("D:AUTORUN.EXE", kWindowsPaths), "D:\\");
    EXPECT_EQ(DirectoryOfModule("\\\\server\\share\\autorun.exe", kWindowsPaths), "\\\\server\\share\\");
}

TEST(DirectoryOfModule, PosixPathsEndWithExactlyOneSlashAndKeepColonsAndBackslashes) {
    EXPECT_EQ(DirectoryOfModule("/autorun", kPosixPaths), "/");
    EXPECT_EQ(DirectoryOfModule("/media/user/GAME DISC/autorun", kPosixPaths), "/media/user/GAME DISC/");
    EXPECT_EQ(DirectoryOfModule("/mnt/a:b\\c/autorun", kPosixPaths), "/mnt/a:b\\c/");
}

TEST(DirectoryOfModule, KeepsLongAndNonAsciiPathsWhole) {
    const std::string folder =
        "C:\\" + std::string(300, 'x') + "\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA \xE7\x9B\xAE\\";
    EXPECT_EQ(DirectoryOfModule(folder + "autorun.exe", kWindowsPaths), folder);
    const std::string posixFolder = "/media/" + std::string(300, 'x') + "/\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA/";
    EXPECT_EQ(DirectoryOfModule(posixFolder + "autorun", kPosixPaths), posixFolder);
}

TEST(WithFullStop, AppendsOnlyAfterCharactersSortingAfterTheFullStop) {
    EXPECT_EQ(WithFullStop("Cannot open file bin2.dat"), "Cannot open file bin2.dat.");
    EXPECT_EQ(WithFullStop("Done."), "Done.");
    EXPECT_EQ(WithFullStop("Why?"), "Why?.");   // '?' sorts after '.'
    EXPECT_EQ(WithFullStop("Stop!"), "Stop!");  // '!' sorts before '.'
    EXPECT_EQ(WithFullStop("ends with space "), "ends with space ");
    EXPECT_EQ(WithFullStop("path\\"), "path\\.");
    EXPECT_EQ(WithFullStop("caf\xE9"), "caf\xE9.");  // bytes compare unsigned
    EXPECT_EQ(WithFullStop(""), "");
}

TEST(CannotCreateWindowMessage, OneLineWithTheSystemsReasonWhenThereIsOne) {
    EXPECT_EQ(WithFullStop(CannotCreateWindowMessage("")), "Cannot create the window.");
    EXPECT_EQ(WithFullStop(CannotCreateWindowMessage("Not enough memory")),
              "Cannot create the window: Not enough memory.");
}

// The window and the system as the host needs them; records what the form asks of them.
class FakeWindow : public HostedWindow, public FormSystem {
   public:
    std::string settingsFileName = "no-such-settings.dat";

    PictureSize SplashPictureSize() const override { return {800, 600}; }
    bool IsOpen() const override { return true; }
    std::string ModuleFileName() override { return "D:\\SETUP\\AUTORUN.EXE"; }
    PathSyntax PathRules() override { return kWindowsPaths; }
    std::string SettingsFileName() override { return settingsFileName; }
    std::string PathFromSettingsText(const std::string& text) override { return text; }
    void RaiseWindow() override {}
    void MaximizeWindow() override {}
    int ScreenWidth() override { return 1024; }
    void RepaintNow() override {}
    void Wait(unsigned) override {}
    void StartProcess(const std::string&) override {}
    void CloseWindow() override {}
};

class MainWindowCreation : public ::testing::Test {
   protected:
    bool Create(bool windowMade) {
        return host.CreateMainForm(
            [this, windowMade]() -> HostedWindow& {
                if (!windowMade) throw MessageError(CannotCreateWindowMessage("refused by a hook"));
                window = std::make_unique<FakeWindow>();
                return *window;
            },
            system, kForm1Definition);
    }

    RecordingErrorBox errorBox;
    FormHost host{errorBox, ActivationPolicy::kRefuseNested};
    FakeWindow system;
    std::unique_ptr<FakeWindow> window;
};

TEST_F(MainWindowCreation, AWindowThatCantBeMadeIsReportedOnceAndLeavesNoForm) {
    EXPECT_FALSE(Create(false));
    EXPECT_EQ(host.Form(), nullptr);
    EXPECT_EQ(window, nullptr);
    // The creation handler never ran: nothing else was reported.
    EXPECT_EQ(errorBox.messages, std::vector<std::string>{"Cannot create the window: refused by a hook."});
}

TEST_F(MainWindowCreation, AMadeWindowGetsItsFormAndTheSettingsErrorIsReportedWithoutStoppingStartUp) {
    EXPECT_TRUE(Create(true));
    ASSERT_NE(host.Form(), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(host.Form()->LauncherDir, "D:\\SETUP\\");
    EXPECT_EQ(host.Form()->GameExeName, "lmq.bin");
    EXPECT_EQ(errorBox.messages, std::vector<std::string>{"Cannot open file no-such-settings.dat."});
}

}  // namespace
}  // namespace autorun
