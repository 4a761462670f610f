// The folders the author last worked in, kept in HKCU\Software\Autorun\Disc Maker: where the browse
// dialogs open next time.  Nothing else is remembered, so the fields start empty unless a project is opened.
#pragma once

#include <string>

namespace disc_maker {

constexpr wchar_t kGameFolderValue[] = L"Game folder";
constexpr wchar_t kOutputFolderValue[] = L"Output folder";
constexpr wchar_t kProjectFolderValue[] = L"Project folder";

// "" when nothing is remembered or the registry can't be read.
std::wstring RememberedFolder(const wchar_t* value);
// Silently does nothing when the registry can't be written: it is only a convenience.
void RememberFolder(const wchar_t* value, const std::wstring& folder);

}  // namespace disc_maker
