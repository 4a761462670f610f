#include "posix_ansi_text.h"
#include "text_encoding.h"
#include "utf_codec.h"

namespace authoring {

std::string AnsiCodePageName() {
    return "Windows-1252";
}

std::optional<std::string> ToAnsi(const std::string& text) {
    return autorun::AnsiFromUtf8(text);
}

std::string VolumeIdBytes(const std::string& label) {
    return label;
}

std::u16string ToUtf16(const std::string& text) {
    return autorun::Utf16FromUtf8(text, autorun::InvalidText::kReplace);
}

std::u16string PathUtf16(const std::filesystem::path& path) {
    return ToUtf16(path.generic_string());
}

std::string PathText(const std::filesystem::path& path) {
    return path.generic_string();
}

std::string NativePathText(const std::filesystem::path& path) {
    return path.string();
}

std::string FromAnsi(const std::string& ansi) {
    return autorun::Utf8FromAnsi(ansi);
}

std::string FromUtf16(const std::u16string& text) {
    return autorun::Utf8FromUtf16(text, autorun::InvalidText::kReplace);
}

std::string PathUtf8(const std::filesystem::path& path) {
    return path.generic_string();
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::filesystem::path FilePath(const std::string& text) {
    return std::filesystem::path(text);
}

}  // namespace authoring
