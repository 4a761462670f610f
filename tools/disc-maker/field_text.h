// Text between the window's controls, which hold UTF-16, and the authoring library's 8-bit strings.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace disc_maker {

// A field the library can't take; what() is the one line the window shows.
class FieldError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

std::wstring ControlText(HWND control);
void SetControlText(HWND control, const std::wstring& text);

// The one crossing of paths from the window into the library, and of the library's paths and messages
// back: the launcher's WTF-8 convention, which keeps every UTF-16 name.
std::string LibraryPath(const std::wstring& path);
std::wstring WindowText(const std::string& text);

// A text the disc stores (its name, the product, the company): UTF-8, as the library takes every text.
// Where a disc file must hold it in the ANSI code page, the library refuses what the page lacks.
std::string DiscText(const std::wstring& text);
std::wstring FromDiscText(const std::string& text);

}  // namespace disc_maker
