// The game program field: an editable drop-down of the game folder's programs, biggest first, each
// shown with why Windows would ask for consent before starting it.  Each item's data is the length of
// the path at the start of its text, so the field alone tells which program it names.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "game_programs.h"

namespace disc_maker {

// Keeps the chosen program when the new list has it, else chooses the first (the biggest).
void FillGamePrograms(HWND combo, const std::vector<authoring::GameProgram>& programs);

// The chosen program's path in the game folder, or what the author typed.
std::wstring ChosenGameProgram(HWND combo);

// Chooses `path`, adding it when the list lacks it.
void ChooseGameProgram(HWND combo, const std::wstring& path);

}  // namespace disc_maker
