#include "findings_list.h"

#include <commctrl.h>

namespace disc_maker {
namespace {

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(index), reinterpret_cast<LPARAM>(&column));
}

}  // namespace

void SetUpFindingsList(HWND list) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int levelWidth = (client.right - client.left) / 8;
    AddColumn(list, 0, L"Level", levelWidth);
    AddColumn(list, 1, L"Finding", client.right - client.left - levelWidth - GetSystemMetrics(SM_CXVSCROLL));
}

void ClearFindings(HWND list) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void AddFinding(HWND list, const char* level, const std::wstring& text) {
    std::wstring levelText(level, level + std::char_traits<char>::length(level));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = levelText.data();
    const int row = int(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    std::wstring copy = text;
    item.iSubItem = 1;
    item.pszText = copy.data();
    SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

}  // namespace disc_maker
