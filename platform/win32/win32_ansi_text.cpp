#include "win32_ansi_text.h"

#include <windows.h>

namespace autorun {
namespace {

// WideCharToMultiByte with `flags`, and whether a character had to be replaced.
std::string Narrow(std::wstring_view text, DWORD flags, BOOL& lossy) {
    lossy = FALSE;
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, &lossy);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    if (length == 0 ||
        WideCharToMultiByte(CP_ACP, flags, text.data(), size, &narrow[0], length, nullptr, &lossy) != length)
        lossy = TRUE;
    return narrow;
}

}  // namespace

std::wstring WidenFromAnsiCodePage(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::optional<std::string> NarrowToAnsiCodePage(std::wstring_view text) {
    BOOL lossy = FALSE;
    std::string narrow = Narrow(text, WC_NO_BEST_FIT_CHARS, lossy);
    if (lossy) return std::nullopt;
    return narrow;
}

std::string NarrowToAnsiCodePageForDisplay(std::wstring_view text) {
    BOOL lossy = FALSE;
    return Narrow(text, WC_NO_BEST_FIT_CHARS, lossy);
}

}  // namespace autorun
