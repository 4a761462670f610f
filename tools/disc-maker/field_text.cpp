#include "field_text.h"

#include "win32_ansi_text.h"
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

// The command line refuses such an argument with the same words (AnsiArguments).
std::string DiscText(const std::wstring& text, const char* field) {
    auto ansi = autorun::NarrowToAnsiCodePage(text);
    if (!ansi)
        throw FieldError(std::string(field) + " has characters that the ANSI code page cannot represent");
    return std::move(*ansi);
}

std::wstring FromDiscText(const std::string& text) {
    return autorun::WidenFromAnsiCodePage(text);
}

}  // namespace disc_maker
