#include "text_encoding.h"

#include <windows.h>

#include "utf_codec.h"
#include "win32_ansi_text.h"

namespace authoring {

std::string AnsiCodePageName() {
    return "code page " + std::to_string(GetACP());
}

// The tool's arguments arrive in the ANSI code page already (its entry point refuses what it lacks).
std::optional<std::string> ToAnsi(const std::string& text) {
    return text;
}

std::u16string ToUtf16(const std::string& text) {
    const std::wstring wide = autorun::WidenFromAnsiCodePage(text);
    return std::u16string(wide.begin(), wide.end());
}

std::u16string PathUtf16(const std::filesystem::path& path) {
    const std::wstring wide = path.generic_wstring();
    return std::u16string(wide.begin(), wide.end());
}

std::string PathText(const std::filesystem::path& path) {
    return FromUtf16(PathUtf16(path));
}

std::string FromAnsi(const std::string& ansi) {
    return ansi;
}

std::string FromUtf16(const std::u16string& text) {
    return autorun::NarrowToAnsiCodePageForDisplay(std::wstring(text.begin(), text.end()));
}

std::string PathUtf8(const std::filesystem::path& path) {
    return autorun::Utf8FromUtf16(PathUtf16(path), autorun::InvalidText::kReplace);
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(autorun::Utf16FromUtf8(utf8, autorun::InvalidText::kReplace));
}

std::string Utf8FromSystemText(const std::string& text) {
    return autorun::Utf8FromUtf16(ToUtf16(text), autorun::InvalidText::kReplace);
}

std::optional<std::string> SystemTextFromUtf8(const std::string& utf8) {
    const std::u16string wide = autorun::Utf16FromUtf8(utf8, autorun::InvalidText::kReplace);
    return autorun::NarrowToAnsiCodePage(std::wstring(wide.begin(), wide.end()));
}

std::filesystem::path PathFromSystemText(const std::string& text) {
    return std::filesystem::path(autorun::WidenFromAnsiCodePage(text));
}

std::optional<std::string> SystemTextFromPath(const std::filesystem::path& path) {
    return autorun::NarrowToAnsiCodePage(path.wstring());
}

}  // namespace authoring
