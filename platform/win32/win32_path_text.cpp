#include "win32_path_text.h"

#include "utf_codec.h"

namespace autorun {

std::string PathTextFromUtf16(const std::wstring& path) {
    return Utf8FromUtf16(std::u16string(path.begin(), path.end()), InvalidText::kKeep);
}

std::wstring Utf16FromPathText(const std::string& path) {
    const std::u16string text = Utf16FromUtf8(path, InvalidText::kKeep);
    return std::wstring(text.begin(), text.end());
}

}  // namespace autorun
