// The splash sequence driven through a recording window and system: order of the steps, the
// picture's geometry on common screens, and what is handed to process creation.
#include "form1.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "disc_file_names.h"
#include "settings_format.h"

namespace autorun {
namespace {

// One recorder for both, so that the order of window steps and the game's start shows.
class RecordingPlatform : public FormWindow, public FormSystem {
   public:
    std::string modulePath = "D:\\SETUP\\AUTORUN.EXE";
    PathSyntax pathRules = kWindowsPaths;
    std::string settingsFileName = "no-such-settings.dat";
    int screenWidth = 1024;
    std::vector<std::string> calls;
    std::string executablePath;
    const TForm1* form = nullptr;
    bool imageVisibleWhenMaximized = true;
    int imageWidthAtRepaint = 0, imageHeightAtRepaint = 0;
    bool imageVisibleAtRepaint = false;

    std::string ModuleFileName() override { return modulePath; }
    PathSyntax PathRules() override { return pathRules; }
    std::string SettingsFileName() override { return settingsFileName; }
    std::string PathFromSettingsText(const std::string& text) override { return "<" + text + ">"; }
    void RaiseWindow() override { calls.push_back("raise"); }
    void MaximizeWindow() override {
        calls.push_back("maximize");
        imageVisibleWhenMaximized = form->Image1.Visible();
    }
    int ScreenWidth() override { return screenWidth; }
    void RepaintNow() override {
        calls.push_back("repaint");
        imageWidthAtRepaint = form->Image1.Width();
        imageHeightAtRepaint = form->Image1.Height();
        imageVisibleAtRepaint = form->Image1.Visible();
    }
    void Wait(unsigned milliseconds) override { calls.push_back("wait " + std::to_string(milliseconds)); }
    void StartProcess(const std::string& path) override {
        calls.push_back("start");
        executablePath = path;
    }
    void CloseWindow() override { calls.push_back("close"); }
};

class Form1Test : public ::testing::Test {
   protected:
    void SetUp() override { platform.form = &form; }
    void RunSequenceOnScreen(int width) {
        platform.screenWidth = width;
        form.FormActivate();
    }

    RecordingPlatform platform;
    TForm1 form{platform, platform, kForm1Definition, PictureSize{800, 600}};
};

TEST_F(Form1Test, ActivationRunsTheWholeSequenceInOrder) {
    form.LauncherDir = "D:\\SETUP\\";
    form.FormActivate();
    const std::vector<std::string> expected = {"raise", "maximize",  "repaint", "wait 1000",
                                               "start", "wait 1000", "close"};
    EXPECT_EQ(platform.calls, expected);
    EXPECT_FALSE(platform.imageVisibleWhenMaximized);
    EXPECT_TRUE(platform.imageVisibleAtRepaint);
    EXPECT_TRUE(form.Image1.Stretch());
    EXPECT_FALSE(form.Image1.AutoSize());
    EXPECT_FALSE(form.SequenceUnfinished());
}

TEST_F(Form1Test, PictureFillsTheScreenWidthKeepingItsAspect) {
    const struct {
        int screenWidth, width, height;
    } screens[] = {
        {1024, 1024, 768}, {1280, 1280, 960}, {1366, 1366, 1024}, {1920, 1920, 1440}, {640, 640, 480}};
    for (const auto& screen : screens) {
        RecordingPlatform fresh;
        TForm1 sized(fresh, fresh, kForm1Definition, PictureSize{800, 600});
        fresh.form = &sized;
        fresh.screenWidth = screen.screenWidth;
        sized.FormActivate();
        EXPECT_EQ(fresh.imageWidthAtRepaint, screen.width) << screen.screenWidth;
        EXPECT_EQ(fresh.imageHeightAtRepaint, screen.height) << screen.screenWidth;
        EXPECT_EQ(sized.Image1.Left(), 0);
        EXPECT_EQ(sized.Image1.Top(), 0);
    }
}

TEST_F(Form1Test, AnotherPictureSizeChangesTheHeightThroughItsAspect) {
    TForm1 wide(platform, platform, kForm1Definition, PictureSize{801, 300});
    platform.form = &wide;
    platform.screenWidth = 1024;
    wide.FormActivate();
    EXPECT_EQ(platform.imageHeightAtRepaint, 1024 * 300 / 801);
}

TEST_F(Form1Test, PictureKeepsItsDefinedGeometryUntilActivation) {
    EXPECT_EQ(form.Image1.Width(), 105);
    EXPECT_EQ(form.Image1.Height(), 105);
    EXPECT_TRUE(form.Image1.Visible());
    EXPECT_FALSE(form.Image1.Stretch());
}

TEST_F(Form1Test, CreationWorksOutTheDirectoryAndKeepsTheDefaultNameWithoutSettings) {
    platform.modulePath = "C:\\Games\\Disc\\autorun.exe";
    // The test's current directory holds no settings file of that name.
    try {
        form.FormCreate();
        ADD_FAILURE() << "FormCreate did not report the missing settings file";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Cannot open file no-such-settings.dat");
    }
    EXPECT_EQ(form.LauncherDir, "C:\\Games\\Disc\\");
    EXPECT_EQ(form.GameExeName, "lmq.bin");
}

TEST_F(Form1Test, ANewFormHasNoDirectoryYetAndTheDefaultName) {
    EXPECT_EQ(form.LauncherDir, "");
    EXPECT_EQ(form.GameExeName, "lmq.bin");
}

TEST_F(Form1Test, CreationReadsTheSettingsIntoThisFormAlone) {
    const auto settings = std::filesystem::temp_directory_path() / "autorun-form1-test-bin2.dat";
    const std::vector<std::uint8_t> bytes = BuildLaunchSettings("text", "bin\\game.exe");
    {
        std::ofstream file(settings, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    platform.settingsFileName = settings.string();
    form.FormCreate();
    std::filesystem::remove(settings);
    EXPECT_EQ(form.GameExeName, "bin\\game.exe");
    form.StartGame();
    EXPECT_EQ(platform.executablePath, "D:\\SETUP\\<bin\\game.exe>");

    // Another form, as a second test of the same process makes, starts from the defaults.
    RecordingPlatform other;
    TForm1 second(other, other, kForm1Definition, PictureSize{800, 600});
    EXPECT_EQ(second.GameExeName, "lmq.bin");
    EXPECT_EQ(second.LauncherDir, "");
}

TEST_F(Form1Test, CreationFollowsThePlatformsPathRules) {
    platform.modulePath = "/media/cdrom/autorun";
    platform.pathRules = kPosixPaths;
    EXPECT_THROW(form.FormCreate(), std::exception);
    EXPECT_EQ(form.LauncherDir, "/media/cdrom/");
}

TEST_F(Form1Test, GameIsStartedFromTheLauncherDirectoryUnderItsConvertedName) {
    form.LauncherDir = "C:\\Program Files\\My Game\\";
    form.GameExeName = "bin\\game.exe";
    form.StartGame();
    EXPECT_EQ(platform.executablePath, "C:\\Program Files\\My Game\\<bin\\game.exe>");
}

class ThrowingStartPlatform : public RecordingPlatform {
    void StartProcess(const std::string&) override { throw std::runtime_error("boom"); }
};

TEST(Form1Abandoned, SequenceCutShortByAnExceptionIsMarkedUnfinished) {
    ThrowingStartPlatform platform;
    TForm1 form(platform, platform, kForm1Definition, PictureSize{800, 600});
    platform.form = &form;
    EXPECT_THROW(form.FormActivate(), std::runtime_error);
    EXPECT_TRUE(form.SequenceUnfinished());
}

}  // namespace
}  // namespace autorun
