// The window's fields as a project and back: the one place that knows which field is which part of a
// DiscProject, for making a disc and for whatever else reads or fills the whole window.
#pragma once

#include <windows.h>

#include "disc_media.h"
#include "disc_project.h"

namespace disc_maker {

// Empty optional fields are left out; nothing is required here (see RequireMakeable).  Throws
// FieldError for a disc text the ANSI code page can't hold.
authoring::DiscProject ProjectFromFields(HWND window);

// Throws FieldError naming the first field a make needs and lacks.
void RequireMakeable(const authoring::DiscProject& project);

void FieldsFromProject(HWND window, const authoring::DiscProject& project);

// The medium chosen, or null for none.
const authoring::Medium* ChosenMedium(HWND window);

// A path field's text without the quotes and blanks around it.
std::wstring PathInField(HWND window, int id);

}  // namespace disc_maker
