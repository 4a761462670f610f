#include "project_fields.h"

#include <optional>

#include "control_ids.h"
#include "disc_media.h"
#include "field_text.h"
#include "game_program_list.h"

namespace disc_maker {
namespace {

std::wstring Field(HWND window, int id) {
    return ControlText(GetDlgItem(window, id));
}

std::optional<std::string> OptionalPath(HWND window, int id) {
    const std::wstring path = PathInField(window, id);
    if (path.empty()) return std::nullopt;
    return LibraryPath(path);
}

std::optional<std::string> OptionalDiscText(HWND window, int id) {
    const std::wstring text = Field(window, id);
    if (text.empty()) return std::nullopt;
    return DiscText(text);
}

bool Checked(HWND window, int id) {
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

void SetChecked(HWND window, int id, bool checked) {
    CheckDlgButton(window, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void SetField(HWND window, int id, const std::optional<std::string>& text, bool isPath) {
    std::wstring wide;
    if (text) wide = isPath ? WindowText(*text) : FromDiscText(*text);
    SetControlText(GetDlgItem(window, id), wide);
}

void ChooseMedium(HWND window, const std::optional<std::string>& option) {
    WPARAM index = 0;
    const auto media = authoring::Media();
    for (std::size_t i = 0; option && i < media.size(); ++i)
        if (media[i].option == *option) index = i + 1;
    SendDlgItemMessageW(window, kMedium, CB_SETCURSEL, index, 0);
}

}  // namespace

const authoring::Medium* ChosenMedium(HWND window) {
    const auto index = SendDlgItemMessageW(window, kMedium, CB_GETCURSEL, 0, 0);
    const auto media = authoring::Media();
    if (index < 1 || std::size_t(index) > media.size()) return nullptr;
    return &media[std::size_t(index) - 1];
}

// Paths pasted from Explorer's "Copy as path" come in quotes; blanks around a path are never meant.
std::wstring PathInField(HWND window, int id) {
    const std::wstring text = Field(window, id);
    const auto first = text.find_first_not_of(L" \t\"");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\"") - first + 1);
}

authoring::DiscProject ProjectFromFields(HWND window) {
    authoring::DiscProject project;
    project.gameFolder = LibraryPath(PathInField(window, kGameFolder));
    project.exe = LibraryPath(ChosenGameProgram(GetDlgItem(window, kGameProgram)));
    project.linuxExe = OptionalPath(window, kLinuxProgram);
    project.launcher.splash = OptionalPath(window, kSplash);
    project.launcher.icon = OptionalPath(window, kIcon);
    project.label = OptionalDiscText(window, kLabel);
    project.launcher.product = OptionalDiscText(window, kProduct);
    project.launcher.company = OptionalDiscText(window, kCompany);
    project.outputKind =
        Checked(window, kOutputFolder) ? authoring::OutputKind::kFolder : authoring::OutputKind::kIso;
    project.output = LibraryPath(PathInField(window, kOutput));
    project.replace = Checked(window, kReplace);
    if (const authoring::Medium* medium = ChosenMedium(window)) project.media = std::string(medium->option);
    return project;
}

void RequireMakeable(const authoring::DiscProject& project) {
    if (project.gameFolder.empty()) throw FieldError("choose the game folder");
    if (project.exe.empty()) throw FieldError("choose the game program");
    if (project.output.empty())
        throw FieldError(project.outputKind == authoring::OutputKind::kIso ? "choose the ISO file to write"
                                                                           : "choose the folder to write");
}

void FieldsFromProject(HWND window, const authoring::DiscProject& project) {
    SetField(window, kGameFolder, project.gameFolder, true);
    // A draft without a program leaves the field empty rather than choosing an empty item.
    HWND programs = GetDlgItem(window, kGameProgram);
    if (project.exe.empty()) {
        SendMessageW(programs, CB_SETCURSEL, WPARAM(-1), 0);
        SetControlText(programs, L"");
    } else {
        ChooseGameProgram(programs, WindowText(project.exe));
    }
    SetField(window, kLinuxProgram, project.linuxExe, true);
    SetField(window, kSplash, project.launcher.splash, true);
    SetField(window, kIcon, project.launcher.icon, true);
    SetField(window, kLabel, project.label, false);
    SetField(window, kProduct, project.launcher.product, false);
    SetField(window, kCompany, project.launcher.company, false);
    const bool folder = project.outputKind == authoring::OutputKind::kFolder;
    SetChecked(window, kOutputIso, !folder);
    SetChecked(window, kOutputFolder, folder);
    SetField(window, kOutput, project.output, true);
    SetChecked(window, kReplace, project.replace);
    ChooseMedium(window, project.media);
}

}  // namespace disc_maker
