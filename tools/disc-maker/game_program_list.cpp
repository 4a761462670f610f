#include "game_program_list.h"

#include "field_text.h"

namespace disc_maker {
namespace {

const wchar_t* ElevationMark(authoring::ElevationCause cause) {
    switch (cause) {
        case authoring::ElevationCause::kNone:
            return L"";
        case authoring::ElevationCause::kRequireAdministrator:
            return L" (installer: asks for administrator rights)";
        case authoring::ElevationCause::kHighestAvailable:
            return L" (asks administrators for their rights)";
        case authoring::ElevationCause::kInstallerName:
            return L" (installer by its name: Windows asks for consent)";
    }
    return L"";
}

int AddItem(HWND combo, const std::wstring& path, const wchar_t* mark) {
    const std::wstring text = path + mark;
    const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SendMessageW(combo, CB_SETITEMDATA, WPARAM(index), LPARAM(path.size()));
    return int(index);
}

std::wstring ItemText(HWND combo, int index) {
    const auto length = std::size_t(SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(index), 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

std::wstring ItemPath(HWND combo, int index) {
    return ItemText(combo, index)
        .substr(0, std::size_t(SendMessageW(combo, CB_GETITEMDATA, WPARAM(index), 0)));
}

// The first item for which `matches(combo, index)` holds, or CB_ERR.
template <typename Match>
int FindItem(HWND combo, const Match& matches) {
    const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        if (matches(combo, index)) return index;
    return CB_ERR;
}

int ItemNaming(HWND combo, const std::wstring& path) {
    return FindItem(combo, [&](HWND box, int index) { return ItemPath(box, index) == path; });
}

}  // namespace

void FillGamePrograms(HWND combo, const std::vector<authoring::GameProgram>& programs) {
    const std::wstring chosen = ChosenGameProgram(combo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const authoring::GameProgram& program : programs)
        AddItem(combo, program.path.wstring(), ElevationMark(program.elevation));
    const int keep = chosen.empty() ? CB_ERR : ItemNaming(combo, chosen);
    if (keep != CB_ERR || programs.empty())
        SendMessageW(combo, CB_SETCURSEL, WPARAM(keep), 0);
    else
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    if (keep == CB_ERR && programs.empty()) SetControlText(combo, chosen);
}

std::wstring ChosenGameProgram(HWND combo) {
    const std::wstring shown = ControlText(combo);
    const int index = FindItem(combo, [&](HWND box, int item) { return ItemText(box, item) == shown; });
    return index == CB_ERR ? shown : ItemPath(combo, index);
}

void ChooseGameProgram(HWND combo, const std::wstring& path) {
    int index = ItemNaming(combo, path);
    if (index == CB_ERR) index = AddItem(combo, path, L"");
    SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
}

}  // namespace disc_maker
