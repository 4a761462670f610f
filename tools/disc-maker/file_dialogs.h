// The common dialogs the fields' Browse buttons open; each gives nothing when the author cancels.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace disc_maker {

// Opens at `start` when it is a folder.  Needs COM on the calling thread.
std::optional<std::wstring> ChooseFolder(HWND owner, const wchar_t* title, const std::wstring& start);

// `filter` as OPENFILENAMEW takes it: pairs of null-terminated strings, ending in an empty one.
std::optional<std::wstring> ChooseFileToOpen(HWND owner, const wchar_t* filter, const std::wstring& current,
                                             const std::wstring& startFolder);
// `askToReplace`: the dialog asks before an existing file is chosen.
std::optional<std::wstring> ChooseFileToSave(HWND owner, const wchar_t* filter, const wchar_t* extension,
                                             const std::wstring& current, const std::wstring& startFolder,
                                             bool askToReplace = false);

}  // namespace disc_maker
