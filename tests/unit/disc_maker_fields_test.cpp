// The disc maker window's fields read back as the project that filled them: every field lands in its
// own part of the project, empty fields are left out, and the game program list gives paths back.  The
// command shown follows the fields, and a project file opened from the window's command line fills them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>

#include "control_ids.h"
#include "dialog_units.h"
#include "field_text.h"
#include "game_program_list.h"
#include "maker_window.h"
#include "project_document.h"
#include "project_fields.h"
#include "project_file.h"
#include "splash_preview.h"
#include "win32_scoped_handle.h"
#include "window_layout.h"

namespace disc_maker {
namespace {

struct WindowDestruction {
    void operator()(HWND window) const { DestroyWindow(window); }
};

class DiscMakerFields : public testing::Test {
   protected:
    DiscMakerFields() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        RegisterSplashPreview(GetModuleHandleW(nullptr));
        CreateControls(window_.get(), GetModuleHandleW(nullptr), units_);
    }
    HWND Field(int id) const { return GetDlgItem(window_.get(), id); }

    const DialogUnits units_;
    const autorun::ScopedHandle<HWND, WindowDestruction> window_{
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr)};
};

void ExpectSameProject(const authoring::DiscProject& read, const authoring::DiscProject& written) {
    EXPECT_EQ(read.gameFolder, written.gameFolder);
    EXPECT_EQ(read.exe, written.exe);
    EXPECT_EQ(read.linuxExe, written.linuxExe);
    EXPECT_EQ(read.linuxLauncher, written.linuxLauncher);
    EXPECT_EQ(read.launcher.launcher, written.launcher.launcher);
    EXPECT_EQ(read.launcher.splash, written.launcher.splash);
    EXPECT_EQ(read.launcher.icon, written.launcher.icon);
    EXPECT_EQ(read.launcher.product, written.launcher.product);
    EXPECT_EQ(read.launcher.company, written.launcher.company);
    EXPECT_EQ(read.label, written.label);
    EXPECT_EQ(read.media, written.media);
    EXPECT_EQ(read.outputKind, written.outputKind);
    EXPECT_EQ(read.output, written.output);
    EXPECT_EQ(read.replace, written.replace);
}

TEST_F(DiscMakerFields, AProjectReadsBackAsItWasFilledIn) {
    authoring::DiscProject project;
    project.gameFolder = "C:\\Games\\Star";
    project.exe = "bin\\star.exe";
    project.linuxExe = "bin/star.sh";
    project.launcher.splash = "C:\\Art\\splash.png";
    project.launcher.icon = "C:\\Art\\star.ico";
    project.label = "Star Disc";
    project.launcher.product = "Star";
    project.launcher.company = "Studio";
    project.media = "dvd";
    project.outputKind = authoring::OutputKind::kFolder;
    project.output = "D:\\out\\star";
    project.replace = true;
    FieldsFromProject(window_.get(), project);
    ExpectSameProject(ProjectFromFields(window_.get()), project);

    // And back to the other kind of output, with the optional fields emptied.
    authoring::DiscProject plain;
    plain.gameFolder = "C:\\Games\\Star";
    plain.exe = "star.exe";
    plain.output = "D:\\out\\star.iso";
    FieldsFromProject(window_.get(), plain);
    ExpectSameProject(ProjectFromFields(window_.get()), plain);
}

TEST_F(DiscMakerFields, AMakeNeedsAFolderAProgramAndAnOutput) {
    const auto missing = [&] {
        try {
            RequireMakeable(ProjectFromFields(window_.get()));
        } catch (const FieldError& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(missing(), "choose the game folder");
    // Paths pasted from Explorer come in quotes.
    SetControlText(Field(kGameFolder), L" \"C:\\Games\\Star\" ");
    EXPECT_EQ(ProjectFromFields(window_.get()).gameFolder, "C:\\Games\\Star");
    EXPECT_EQ(missing(), "choose the game program");
    SetControlText(Field(kGameProgram), L"star.exe");
    EXPECT_EQ(missing(), "choose the ISO file to write");
    SetControlText(Field(kOutput), L"star.iso");
    EXPECT_EQ(missing(), "");
}

TEST_F(DiscMakerFields, DiscTextsTravelAsUtf8WhateverTheAnsiCodePage) {
    SetControlText(Field(kProduct), L"\x65E5\x672C");  // CJK characters, which no western code page holds
    SetControlText(Field(kCompany),
                   L"a\xD800"
                   L"b");  // a lone surrogate is no character
    const authoring::DiscProject project = ProjectFromFields(window_.get());
    EXPECT_EQ(project.launcher.product, "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(project.launcher.company, "a?b");
    FieldsFromProject(window_.get(), project);
    EXPECT_EQ(ControlText(Field(kProduct)), L"\x65E5\x672C");
}

TEST_F(DiscMakerFields, TheProgramListGivesPathsWithoutTheirMarks) {
    HWND combo = Field(kGameProgram);
    FillGamePrograms(combo, {{"bin\\star.exe", 5000, authoring::ElevationCause::kNone},
                             {"setup.exe", 900, authoring::ElevationCause::kRequireAdministrator}});
    EXPECT_EQ(ChosenGameProgram(combo), L"bin\\star.exe") << "the biggest is chosen first";
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(ControlText(combo), L"setup.exe (installer: asks for administrator rights)");
    EXPECT_EQ(ChosenGameProgram(combo), L"setup.exe");

    // A new listing keeps the choice when it still holds it.
    FillGamePrograms(combo, {{"star.exe", 7000, authoring::ElevationCause::kNone},
                             {"setup.exe", 900, authoring::ElevationCause::kRequireAdministrator}});
    EXPECT_EQ(ChosenGameProgram(combo), L"setup.exe");

    // A name typed in is taken as it is; choosing one the list lacks adds it.
    SetControlText(combo, L"tools\\other.exe");
    EXPECT_EQ(ChosenGameProgram(combo), L"tools\\other.exe");
    ChooseGameProgram(combo, L"extra.exe");
    EXPECT_EQ(ChosenGameProgram(combo), L"extra.exe");
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
}

TEST_F(DiscMakerFields, TheCommandShowsWhatIsFilledInSoFar) {
    EXPECT_EQ(CommandOfFields(window_.get()), L"autorun-disc make");
    SetControlText(Field(kGameFolder), L"C:\\Games\\Star Wars");
    SetControlText(Field(kGameProgram), L"star.exe");
    EXPECT_EQ(CommandOfFields(window_.get()),
              L"autorun-disc make --game \"C:\\Games\\Star Wars\" --exe star.exe");
    CheckDlgButton(window_.get(), kOutputIso, BST_UNCHECKED);
    CheckDlgButton(window_.get(), kOutputFolder, BST_CHECKED);
    CheckDlgButton(window_.get(), kReplace, BST_CHECKED);
    SetControlText(Field(kOutput), L"D:\\out\\star");
    SetControlText(Field(kLabel), L"\x65E5\x672C");
    EXPECT_EQ(CommandOfFields(window_.get()),
              L"autorun-disc make --game \"C:\\Games\\Star Wars\" --exe star.exe --label \x65E5\x672C "
              L"--folder D:\\out\\star --force");
}

TEST_F(DiscMakerFields, ADraftWithoutAProgramLeavesTheFieldEmpty) {
    authoring::DiscProject project;
    project.gameFolder = "C:\\Games\\Star";
    project.exe = "star.exe";
    FieldsFromProject(window_.get(), project);
    project.exe.clear();
    FieldsFromProject(window_.get(), project);
    EXPECT_EQ(ChosenGameProgram(Field(kGameProgram)), L"");
    EXPECT_EQ(ProjectFromFields(window_.get()).exe, "");
}

TEST(DiscMakerProjectFile, TitlesAndTheExtensionAddedToATypedName) {
    EXPECT_EQ(WindowTitle(L""), L"Autorun Disc Maker");
    EXPECT_EQ(WindowTitle(L"C:\\Discs\\star.autorun.json"), L"star.autorun.json - Autorun Disc Maker");
    EXPECT_EQ(WithProjectExtension(L"C:\\Discs\\star"), L"C:\\Discs\\star.autorun.json");
    EXPECT_EQ(WithProjectExtension(L"C:\\Discs\\star.v2"), L"C:\\Discs\\star.v2.autorun.json");
    EXPECT_EQ(WithProjectExtension(L"C:\\Discs\\star.JSON"), L"C:\\Discs\\star.JSON");
    EXPECT_EQ(WithProjectExtension(L"C:\\Discs\\star.autorun.json"), L"C:\\Discs\\star.autorun.json");
}

// The whole window, hidden, with a project given as its program's argument would be.
class DiscMakerWindow : public testing::Test {
   protected:
    DiscMakerWindow() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        RegisterMakerWindow(GetModuleHandleW(nullptr));  // false once the class is there: no matter
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / L"game");
        // The folder's program is not the project's, and the biggest: the listing would choose it.
        std::ofstream(folder_ / L"game" / L"big.exe", std::ios::binary) << std::string(4096, 'x');
    }
    ~DiscMakerWindow() override {
        if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
        // The closed window ends its message loop; this test has none.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    void Open(const std::filesystem::path& file) {
        window_ = CreateMakerWindow(GetModuleHandleW(nullptr), SW_HIDE, file.wstring());
        ASSERT_NE(window_, nullptr);
    }
    std::wstring Text(int id) const { return ControlText(GetDlgItem(window_, id)); }

    const std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / L"disc maker window \x00E9";
    HWND window_ = nullptr;
};

TEST_F(DiscMakerWindow, AProjectFillsEveryFieldItsProgramChosenThoughUnlisted) {
    authoring::DiscProject project;
    project.gameFolder = LibraryPath((folder_ / L"game").wstring());
    project.exe = "tools\\star.exe";
    project.label = "Star";
    project.outputKind = authoring::OutputKind::kFolder;
    project.output = LibraryPath((folder_ / L"out").wstring());
    project.media = "dvd";
    const std::filesystem::path file = folder_ / L"star.autorun.json";
    authoring::WriteProjectFile(project, file);
    Open(file);
    EXPECT_EQ(ChosenGameProgram(GetDlgItem(window_, kGameProgram)), L"tools\\star.exe");
    EXPECT_EQ(Text(kGameFolder), (folder_ / L"game").wstring());
    EXPECT_EQ(Text(kLabel), L"Star");
    EXPECT_EQ(IsDlgButtonChecked(window_, kOutputFolder), BST_CHECKED);
    EXPECT_EQ(Text(kStatus), L"Opened star.autorun.json");
    EXPECT_EQ(ControlText(window_), L"star.autorun.json - Autorun Disc Maker");
    EXPECT_NE(Text(kCommand).find(L"--exe tools\\star.exe --label Star --media dvd --folder"),
              std::wstring::npos)
        << Text(kCommand);
}

TEST_F(DiscMakerWindow, AFileThatIsNoProjectIsSaidInTheStatusLine) {
    const std::filesystem::path file = folder_ / L"broken.autorun.json";
    std::ofstream(file, std::ios::binary)
        << "{\"format\": \"autorun-disc project\", \"version\": 1, \"gmae\": \"x\"}";
    Open(file);
    EXPECT_NE(Text(kStatus).find(L"broken.autorun.json"), std::wstring::npos) << Text(kStatus);
    EXPECT_NE(Text(kStatus).find(L"gmae"), std::wstring::npos) << Text(kStatus);
    EXPECT_EQ(ControlText(window_), L"Autorun Disc Maker");
    EXPECT_EQ(Text(kGameFolder), L"");
}

}  // namespace
}  // namespace disc_maker
