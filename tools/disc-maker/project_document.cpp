#include "project_document.h"

#include <cstring>
#include <filesystem>
#include <string_view>

#include "field_text.h"
#include "make_command_text.h"
#include "project_fields.h"

namespace disc_maker {
namespace {

constexpr wchar_t kProgramName[] = L"Autorun Disc Maker";

bool EndsWithJson(const std::wstring& path) {
    constexpr std::wstring_view kJson = L".json";
    if (path.size() < kJson.size()) return false;
    std::wstring ending = path.substr(path.size() - kJson.size());
    CharLowerBuffW(ending.data(), DWORD(ending.size()));
    return ending == kJson;
}

struct ClipboardOpening {
    explicit ClipboardOpening(HWND owner) : opened(OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpening() {
        if (opened) CloseClipboard();
    }
    ClipboardOpening(const ClipboardOpening&) = delete;
    ClipboardOpening& operator=(const ClipboardOpening&) = delete;
    const bool opened;
};

}  // namespace

std::wstring WindowTitle(const std::wstring& projectFile) {
    if (projectFile.empty()) return kProgramName;
    return std::filesystem::path(projectFile).filename().wstring() + L" - " + kProgramName;
}

std::wstring WithProjectExtension(const std::wstring& path) {
    return EndsWithJson(path) ? path : path + kProjectExtension;
}

std::wstring CommandOfFields(HWND window) {
    try {
        return WindowText(authoring::MakeCommandText(ProjectFromFields(window)));
    } catch (const FieldError& error) {
        return WindowText(error.what());
    }
}

bool CopyToClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (void* locked = GlobalLock(memory)) {
        std::memcpy(locked, text.c_str(), bytes);
        GlobalUnlock(memory);
    } else {
        GlobalFree(memory);
        return false;
    }
    const ClipboardOpening clipboard(owner);
    // Once SetClipboardData takes the memory, the clipboard frees it.
    if (!clipboard.opened || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

}  // namespace disc_maker
