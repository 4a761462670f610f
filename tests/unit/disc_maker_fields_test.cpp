// The disc maker window's fields read back as the project that filled them: every field lands in its
// own part of the project, empty fields are left out, and the game program list gives paths back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"
#include "dialog_units.h"
#include "field_text.h"
#include "game_program_list.h"
#include "project_fields.h"
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
    SetControlText(Field(kCompany), L"a\xD800" L"b");       // a lone surrogate is no character
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

}  // namespace
}  // namespace disc_maker
