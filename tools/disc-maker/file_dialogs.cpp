#include "file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "win32_scoped_handle.h"

namespace disc_maker {
namespace {

struct TaskMemoryFreeing {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};
using ItemList = autorun::ScopedHandle<LPITEMIDLIST, TaskMemoryFreeing>;

int CALLBACK FolderDialogEvent(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

// Long paths come back whole: the buffer is as large as a Windows path gets.
constexpr DWORD kPathBuffer = 32768;

std::optional<std::wstring> RunFileDialog(HWND owner, const wchar_t* filter, const wchar_t* extension,
                                          const std::wstring& current, const std::wstring& startFolder,
                                          bool save, bool askToReplace) {
    std::vector<wchar_t> path(kPathBuffer, L'\0');
    current.copy(path.data(), std::min<std::size_t>(current.size(), kPathBuffer - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathBuffer;
    dialog.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    dialog.lpstrDefExt = extension;
    // Replacing an existing output is the "Replace" box's decision, not the dialog's.
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER |
                   (save ? OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST) | (askToReplace ? OFN_OVERWRITEPROMPT : 0);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return std::wstring(path.data());
}

}  // namespace

std::optional<std::wstring> ChooseFolder(HWND owner, const wchar_t* title, const std::wstring& start) {
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = &FolderDialogEvent;
    browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    const ItemList chosen(SHBrowseForFolderW(&browse));
    if (!chosen.get()) return std::nullopt;
    std::vector<wchar_t> path(kPathBuffer, L'\0');
    if (!SHGetPathFromIDListW(chosen.get(), path.data())) return std::nullopt;
    return std::wstring(path.data());
}

std::optional<std::wstring> ChooseFileToOpen(HWND owner, const wchar_t* filter, const std::wstring& current,
                                             const std::wstring& startFolder) {
    return RunFileDialog(owner, filter, nullptr, current, startFolder, false, false);
}

std::optional<std::wstring> ChooseFileToSave(HWND owner, const wchar_t* filter, const wchar_t* extension,
                                             const std::wstring& current, const std::wstring& startFolder,
                                             bool askToReplace) {
    return RunFileDialog(owner, filter, extension, current, startFolder, true, askToReplace);
}

}  // namespace disc_maker
