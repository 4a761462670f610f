// Start-up helpers: the launcher's directory, the text of the error box, and the main window's
// creation as both window frameworks run it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "error_report.h"
#include "form_creation.h"
#include "form1_definition.h"
#include "launch_settings.h"
#include "launcher_dir.h"
#include "message_error.h"

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

// The window as CreateMainWindowAndForm1 needs it; records what the form asks of it.
class FakeWindow : public FormPlatform {
   public:
    TForm1* bound = nullptr;
    std::string settingsFileName = "no-such-settings.dat";

    void Bind(TForm1& form) { bound = &form; }
    PictureSize SplashPictureSize() const { return {800, 600}; }
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
    void SetUp() override {
        GameExeName = kDefaultGameExeName;
        LauncherDir.clear();
    }
    std::unique_ptr<TForm1> Create(bool windowMade) {
        return CreateMainWindowAndForm1(
            window,
            [windowMade]() -> std::unique_ptr<FakeWindow> {
                if (!windowMade) throw MessageError(CannotCreateWindowMessage("refused by a hook"));
                return std::make_unique<FakeWindow>();
            },
            kForm1Definition, [this](const std::exception& error) { reports.push_back(error.what()); });
    }

    std::unique_ptr<FakeWindow> window;
    std::vector<std::string> reports;
};

TEST_F(MainWindowCreation, AWindowThatCantBeMadeIsReportedOnceAndLeavesNoForm) {
    const auto form = Create(false);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(reports, std::vector<std::string>{"Cannot create the window: refused by a hook"});
    // The creation handler never ran.
    EXPECT_EQ(LauncherDir, "");
}

TEST_F(MainWindowCreation, AMadeWindowGetsItsFormBoundAndTheSettingsErrorIsReportedWithoutStoppingStartUp) {
    const auto form = Create(true);
    ASSERT_NE(form, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->bound, form.get());
    EXPECT_EQ(LauncherDir, "D:\\SETUP\\");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("no-such-settings.dat"), std::string::npos);
}

}  // namespace
}  // namespace autorun
