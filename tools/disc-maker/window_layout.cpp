#include "window_layout.h"

#include <commctrl.h>

#include <cwchar>

#include "control_ids.h"
#include "disc_media.h"
#include "findings_list.h"
#include "splash_preview.h"

namespace disc_maker {
namespace {

struct Control {
    const wchar_t* windowClass;
    const wchar_t* text;
    DWORD style;
    int id;
    int x, y, width, height;  // dialog units
};

constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kFirstRadio = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON;
constexpr DWORD kNextRadio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
// A control after a radio group starts the next group.
constexpr DWORD kGroup = WS_GROUP;

constexpr int kMargin = 7;
constexpr int kLabelWidth = 58;
constexpr int kFieldX = kMargin + kLabelWidth + 2;
constexpr int kBrowseWidth = 50;
constexpr int kLeftRight = 288;  // the right edge of the fields' column
constexpr int kPathWidth = kLeftRight - kFieldX - kBrowseWidth - 4;
constexpr int kBrowseX = kLeftRight - kBrowseWidth;
constexpr int kRow = 18;
constexpr int kRight = kClientWidth - kMargin;
constexpr int kPreviewX = kLeftRight + 9;
constexpr int kPreviewWidth = kRight - kPreviewX;

constexpr int RowY(int row) {
    return kMargin + row * kRow;
}

// Label, path field and Browse button on one row.
#define PATH_ROW(row, label, labelId, field, browse)                                             \
    {WC_STATICW, label, kStaticStyle | kGroup, labelId, kMargin, RowY(row) + 2, kLabelWidth, 8}, \
        {WC_EDITW, L"", kEditStyle, field, kFieldX, RowY(row), kPathWidth, 14}, {                \
        WC_BUTTONW, L"Browse...", kButtonStyle, browse, kBrowseX, RowY(row), kBrowseWidth, 14    \
    }
#define TEXT_ROW(row, label, labelId, field)                                                       \
    {WC_STATICW, label, kStaticStyle | kGroup, labelId, kMargin, RowY(row) + 2, kLabelWidth, 8}, { \
        WC_EDITW, L"", kEditStyle, field, kFieldX, RowY(row), kLeftRight - kFieldX, 14             \
    }

constexpr int kOutputRow = 8;
constexpr int kPreviewHeight = kPreviewWidth * 3 / 4;
constexpr int kCommandY = RowY(kOutputRow + 4);
constexpr int kMakeY = RowY(kOutputRow + 5);
constexpr int kProjectButtonWidth = 64;
constexpr int kProgressX = kMargin + 56 + 2 * (kProjectButtonWidth + 4);

const Control kControls[] = {
    PATH_ROW(0, L"&Game folder:", kFirstLabel + 0, kGameFolder, kGameFolderBrowse),
    {WC_STATICW, L"Game &program:", kStaticStyle | kGroup, kFirstLabel + 1, kMargin, RowY(1) + 2, kLabelWidth,
     8},
    {WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
     kGameProgram, kFieldX, RowY(1), kLeftRight - kFieldX, 120},
    PATH_ROW(2, L"&Linux program:", kFirstLabel + 2, kLinuxProgram, kLinuxProgramBrowse),
    PATH_ROW(3, L"&Splash picture:", kFirstLabel + 3, kSplash, kSplashBrowse),
    PATH_ROW(4, L"&Icon:", kFirstLabel + 4, kIcon, kIconBrowse),
    TEXT_ROW(5, L"Disc &name:", kFirstLabel + 5, kLabel),
    TEXT_ROW(6, L"Prod&uct:", kFirstLabel + 6, kProduct),
    TEXT_ROW(7, L"&Company:", kFirstLabel + 7, kCompany),
    // The preview, to the right of those fields, and its screen shapes under it: next in the tab order.
    {WC_STATICW, L"Screen:", kStaticStyle | kGroup, kFirstLabel + 12, kPreviewX, RowY(0) + kPreviewHeight + 6,
     28, 8},
    {WC_BUTTONW, L"&4:3", kFirstRadio, kScreen4x3, kPreviewX + 30, RowY(0) + kPreviewHeight + 4, 30, 12},
    {WC_BUTTONW, L"16:1&0", kNextRadio, kScreen16x10, kPreviewX + 62, RowY(0) + kPreviewHeight + 4, 36, 12},
    {WC_BUTTONW, L"16:&9", kNextRadio, kScreen16x9, kPreviewX + 100, RowY(0) + kPreviewHeight + 4, 36, 12},
    {WC_STATICW, L"", kStaticStyle | SS_NOPREFIX | kGroup, kSplashProblem, kPreviewX,
     RowY(0) + kPreviewHeight + 20, kPreviewWidth, 8 * 4},

    {WC_STATICW, L"Output:", kStaticStyle | kGroup, kFirstLabel + 8, kMargin, RowY(kOutputRow) + 2,
     kLabelWidth, 8},
    {WC_BUTTONW, L"ISO &file", kFirstRadio, kOutputIso, kFieldX, RowY(kOutputRow), 50, 12},
    {WC_BUTTONW, L"F&older", kNextRadio, kOutputFolder, kFieldX + 52, RowY(kOutputRow), 44, 12},
    {WC_BUTTONW, L"&Replace an existing output",
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kReplace, kFieldX + 100,
     RowY(kOutputRow), kLeftRight - kFieldX - 100, 12},
    PATH_ROW(kOutputRow + 1, L"&Write to:", kFirstLabel + 9, kOutput, kOutputBrowse),
    {WC_STATICW, L"M&edium:", kStaticStyle | kGroup, kFirstLabel + 10, kMargin, RowY(kOutputRow + 2) + 2,
     kLabelWidth, 8},
    {WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kMedium, kFieldX,
     RowY(kOutputRow + 2), 100, 100},
    {PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, kGauge, kFieldX + 104, RowY(kOutputRow + 2) + 2,
     kLeftRight - kFieldX - 104, 10},
    {WC_STATICW, L"", kStaticStyle | SS_NOPREFIX, kGaugeText, kFieldX, RowY(kOutputRow + 3), kRight - kFieldX,
     16},

    // The command that makes the same disc, for authors who script their builds.
    {WC_STATICW, L"Comm&and:", kStaticStyle | kGroup, kFirstLabel + 13, kMargin, kCommandY + 2, kLabelWidth,
     8},
    {WC_EDITW, L"", kEditStyle | ES_READONLY, kCommand, kFieldX, kCommandY,
     kRight - kFieldX - kBrowseWidth - 4, 14},
    {WC_BUTTONW, L"Cop&y", kButtonStyle, kCopyCommand, kRight - kBrowseWidth, kCommandY, kBrowseWidth, 14},

    {WC_BUTTONW, L"&Make", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, kMake, kMargin,
     kMakeY, 50, 14},
    {WC_BUTTONW, L"Open pro&ject...", kButtonStyle, kOpenProject, kMargin + 56, kMakeY, kProjectButtonWidth,
     14},
    {WC_BUTTONW, L"Sa&ve project...", kButtonStyle, kSaveProjectAs, kMargin + 56 + kProjectButtonWidth + 4,
     kMakeY, kProjectButtonWidth, 14},
    {PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, kProgress, kProgressX, kMakeY + 2, kRight - kProgressX, 10},
    {WC_STATICW, L"", kStaticStyle | SS_NOPREFIX, kStatus, kMargin, kMakeY + 18, kRight - kMargin, 18},
    {WC_STATICW, L"Fin&dings:", kStaticStyle | kGroup, kFirstLabel + 11, kMargin, kMakeY + 38, kLabelWidth,
     8},
    {WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER,
     kFindings, kMargin, kMakeY + 48, kRight - kMargin, kClientHeight - kMakeY - 48 - kMargin},

};

#undef PATH_ROW
#undef TEXT_ROW

// Fields and the list are sunk into the window, as a dialog's are.
bool Sunken(const Control& control) {
    return control.id == kFindings || std::wcscmp(control.windowClass, WC_EDITW) == 0;
}

void AddMedia(HWND combo) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"(any)"));
    for (const authoring::Medium& medium : authoring::Media()) {
        const std::wstring name(medium.name.begin(), medium.name.end());
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

}  // namespace

void CreateControls(HWND window, HINSTANCE instance, const DialogUnits& units) {
    for (const Control& control : kControls) {
        HWND made = CreateWindowExW(
            Sunken(control) ? WS_EX_CLIENTEDGE : 0, control.windowClass, control.text, control.style,
            units.X(control.x), units.Y(control.y), units.X(control.width), units.Y(control.height), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(units.font()), FALSE);
    }
    // The preview keeps the picture's place in the tab order out of it: it takes no input.
    HWND preview = CreateSplashPreview(window, kPreview, instance);
    SetWindowPos(preview, nullptr, units.X(kPreviewX), units.Y(RowY(0)), units.X(kPreviewWidth),
                 units.X(kPreviewWidth) * 3 / 4, SWP_NOZORDER | SWP_NOACTIVATE);
    SendDlgItemMessageW(window, kGauge, PBM_SETRANGE32, 0, 1000);
    SendDlgItemMessageW(window, kProgress, PBM_SETRANGE32, 0, 1000);
    CheckDlgButton(window, kOutputIso, BST_CHECKED);
    CheckDlgButton(window, kScreen4x3, BST_CHECKED);
    AddMedia(GetDlgItem(window, kMedium));
    SetUpFindingsList(GetDlgItem(window, kFindings));
}

}  // namespace disc_maker
