// What the window shows about its project as a whole: the file it was opened from or saved to, in the
// title, and the command line that makes the same disc.
#pragma once

#include <windows.h>

#include <string>

namespace disc_maker {

// Project files are "NAME.autorun.json": plain JSON, told apart from other JSON by their second extension.
constexpr wchar_t kProjectExtension[] = L".autorun.json";
constexpr wchar_t kProjectFilter[] =
    L"Autorun projects (*.autorun.json)\0*.autorun.json\0JSON files (*.json)\0*.json\0All files\0*.*\0";

// "NAME - Autorun Disc Maker", or the program's name alone for a project never saved.
std::wstring WindowTitle(const std::wstring& projectFile);

// The name typed into the save dialog, with the project extension added when it has no ".json" of its
// own.  The dialog's own default extension can't do it: before Vista it appends three characters at most.
std::wstring WithProjectExtension(const std::wstring& path);

// The `autorun-disc make` command of the fields as they are, however little is filled in; a field the
// project can't take gives its one-line error instead.
std::wstring CommandOfFields(HWND window);

// Whole or not at all; false when the clipboard is anybody else's at the moment.
bool CopyToClipboard(HWND owner, const std::wstring& text);

}  // namespace disc_maker
