#include <windows.h>

#include "text_encoding.h"
#include "utf_codec.h"
#include "win32_ansi_text.h"
#include "win32_path_text.h"

namespace authoring {
namespace {

std::wstring Wide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::string AnsiCodePageName() {
    return "code page " + std::to_string(GetACP());
}

std::optional<std::string> ToAnsi(const std::string& text) {
    return autorun::NarrowToAnsiCodePage(autorun::Utf16FromPathText(text));
}

std::string VolumeIdBytes(const std::string& label) {
    return ToAnsi(label).value_or(label);
}

std::u16string ToUtf16(const std::string& text) {
    return autorun::Utf16FromUtf8(text, autorun::InvalidText::kKeep);
}

std::u16string PathUtf16(const std::filesystem::path& path) {
    const std::wstring wide = path.generic_wstring();
    return std::u16string(wide.begin(), wide.end());
}

std::string PathText(const std::filesystem::path& path) {
    return autorun::PathTextFromUtf16(path.generic_wstring());
}

std::string NativePathText(const std::filesystem::path& path) {
    return autorun::PathTextFromUtf16(path.wstring());
}

std::string FromAnsi(const std::string& ansi) {
    return autorun::PathTextFromUtf16(autorun::WidenFromAnsiCodePage(ansi));
}

std::string FromUtf16(const std::u16string& text) {
    return autorun::PathTextFromUtf16(Wide(text));
}

std::string PathUtf8(const std::filesystem::path& path) {
    return autorun::Utf8FromUtf16(PathUtf16(path), autorun::InvalidText::kReplace);
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(autorun::Utf16FromUtf8(utf8, autorun::InvalidText::kReplace));
}

std::filesystem::path FilePath(const std::string& text) {
    return std::filesystem::path(autorun::Utf16FromPathText(text));
}

}  // namespace authoring
