#include "disc_names.h"

#include <cctype>

#include "text_encoding.h"

namespace authoring {

std::optional<std::string> JolietProblem(const std::filesystem::path& path) {
    if (PathUtf16(path).size() > kJolietPathLimit)
        return "the path is longer than Joliet's " + std::to_string(kJolietPathLimit) + " characters";
    for (const std::filesystem::path& part : path) {
        const std::size_t length = PathUtf16(part).size();
        if (length > kJolietNameLimit)
            return "the name \"" + PathText(part) + "\" has " + std::to_string(length) +
                   " characters, more than Joliet's " + std::to_string(kJolietNameLimit);
    }
    return std::nullopt;
}

std::string VolumeIdFromLabel(const std::string& label) {
    std::string id;
    for (char c : VolumeIdBytes(label)) {
        if (id.size() == kIsoVolumeIdLimit) break;
        const unsigned char byte = static_cast<unsigned char>(c);
        id.push_back(std::isalnum(byte) && byte < 0x80 ? char(std::toupper(byte)) : '_');
    }
    return id.empty() ? "DISC" : id;
}

std::string DriveIconName(const std::string& label) {
    const std::string extension = ".ico";
    return VolumeIdFromLabel(label).substr(0, kIsoLevel2NameLimit - extension.size()) + extension;
}

std::optional<std::vector<std::string>> SplitDiscPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&]() {
        if (part == "..") {
            if (parts.empty()) return false;
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
        return true;
    };
    for (char c : path) {
        if (c == '/' || c == '\\') {
            if (!flush()) return std::nullopt;
        } else {
            part.push_back(c);
        }
    }
    if (!flush()) return std::nullopt;
    return parts;
}

std::u16string WindowsNameKey(const std::u16string& path) {
    std::u16string key;
    for (char16_t c : path)
        key.push_back(c == u'\\' ? u'/' : c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c);
    return key;
}

}  // namespace authoring
