#include <windows.h>

#include "text_encoding.h"

namespace authoring {

std::string AnsiCodePageName() {
    return "code page " + std::to_string(GetACP());
}

// The tool's arguments arrive in the ANSI code page already (its entry point refuses what it lacks).
std::optional<std::string> ToAnsi(const std::string& text) {
    return text;
}

std::u16string ToUtf16(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], length);
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
    if (text.empty()) return {};
    const std::wstring wide(text.begin(), text.end());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), &out[0], length, nullptr, nullptr);
    return out;
}

}  // namespace authoring
