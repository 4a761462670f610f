// The list of what a make found: one row per finding or warning, its level and its text.
#pragma once

#include <windows.h>

#include <string>

namespace disc_maker {

// Once, after the list view is made: its two columns.
void SetUpFindingsList(HWND list);
void ClearFindings(HWND list);
void AddFinding(HWND list, const char* level, const std::wstring& text);

}  // namespace disc_maker
