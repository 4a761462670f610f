#include "field_text.h"

#include "utf_codec.h"
#include "win32_path_text.h"

namespace disc_maker {

std::wstring ControlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

void SetControlText(HWND control, const std::wstring& text) {
    SetWindowTextW(control, text.c_str());
}

std::string LibraryPath(const std::wstring& path) {
    return autorun::PathTextFromUtf16(path);
}

std::wstring WindowText(const std::string& text) {
    return autorun::Utf16FromPathText(text);
}

// Unlike a path, a text shown to players follows Unicode's rules: a lone surrogate is no character.
std::string DiscText(const std::wstring& text) {
    return autorun::Utf8FromUtf16(std::u16string(text.begin(), text.end()), autorun::InvalidText::kReplace);
}

std::wstring FromDiscText(const std::string& text) {
    const std::u16string wide = autorun::Utf16FromUtf8(text, autorun::InvalidText::kReplace);
    return std::wstring(wide.begin(), wide.end());
}

}  // namespace disc_maker
