#include "elevation_prompt.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "pe_image.h"
#include "resource_table.h"

namespace authoring {
namespace {

constexpr std::uint16_t kI386 = 0x14c;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The names and values that matter are ASCII; a UTF-16 manifest keeps each unit's low byte.
std::string AsciiText(const Bytes& manifest) {
    const bool utf16 = manifest.size() >= 2 && manifest[0] == 0xff && manifest[1] == 0xfe;
    std::string text;
    for (std::size_t i = utf16 ? 2 : 0; i < manifest.size(); i += utf16 ? 2 : 1) {
        const bool highByte = utf16 && i + 1 < manifest.size() && manifest[i + 1] != 0;
        text.push_back(highByte ? '?' : static_cast<char>(manifest[i]));
    }
    return text;
}

std::string WithoutComments(std::string text) {
    for (std::size_t start; (start = text.find("<!--")) != std::string::npos;) {
        const std::size_t end = text.find("-->", start + 4);
        text.erase(start, end == std::string::npos ? std::string::npos : end + 3 - start);
    }
    return text;
}

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':';
}

// The text between the element's name and its closing '>', or nothing; the element may carry a
// namespace prefix ("<ms_asmv2:requestedExecutionLevel").
std::optional<std::string> ElementAttributes(const std::string& text, const std::string& localName) {
    for (std::size_t at = text.find(localName); at != std::string::npos; at = text.find(localName, at + 1)) {
        const std::size_t after = at + localName.size();
        if (after < text.size() && IsNameCharacter(text[after])) continue;
        std::size_t open = at;
        if (open > 0 && text[open - 1] == ':') {
            --open;
            while (open > 0 && IsNameCharacter(text[open - 1]) && text[open - 1] != ':') --open;
        }
        if (open == 0 || text[open - 1] != '<') continue;
        const std::size_t close = text.find('>', after);
        return text.substr(after, close == std::string::npos ? std::string::npos : close - after);
    }
    return std::nullopt;
}

std::string AttributeValue(const std::string& attributes, const std::string& name) {
    for (std::size_t at = attributes.find(name); at != std::string::npos;
         at = attributes.find(name, at + 1)) {
        if (at > 0 && IsNameCharacter(attributes[at - 1])) continue;
        std::size_t next = at + name.size();
        while (next < attributes.size() && std::isspace(static_cast<unsigned char>(attributes[next]))) ++next;
        if (next >= attributes.size() || attributes[next] != '=') continue;
        ++next;
        while (next < attributes.size() && std::isspace(static_cast<unsigned char>(attributes[next]))) ++next;
        if (next >= attributes.size() || (attributes[next] != '"' && attributes[next] != '\'')) continue;
        const std::size_t end = attributes.find(attributes[next], next + 1);
        if (end == std::string::npos) return {};
        return attributes.substr(next + 1, end - next - 1);
    }
    return {};
}

}  // namespace

std::string RequestedExecutionLevel(const Bytes& manifest) {
    const std::string text = WithoutComments(AsciiText(manifest));
    const auto attributes = ElementAttributes(text, "requestedExecutionLevel");
    return attributes ? AttributeValue(*attributes, "level") : std::string();
}

bool HasInstallerName(const std::string& fileName) {
    const std::string name = Lower(fileName.substr(fileName.find_last_of("/\\") + 1));
    for (const char* word : {"setup", "install", "update"})
        if (name.find(word) != std::string::npos) return true;
    return false;
}

ElevationCause ElevationCauseOf(const Bytes& program, const std::string& fileName) {
    std::string level;
    PeHeaders pe;
    try {
        pe = ReadPeHeaders(program);
        const std::vector<Resource> resources = ReadResources(program, pe);
        const auto manifests = FindResources(resources, ResourceKey::Number(kManifestResourceType),
                                             ResourceKey::Number(autorun::kProcessManifestId));
        if (!manifests.empty()) level = RequestedExecutionLevel(manifests.front()->data);
    } catch (const PeFormatError&) {
        return ElevationCause::kNone;
    } catch (const TruncatedData&) {
        return ElevationCause::kNone;
    }
    if (level == "requireAdministrator") return ElevationCause::kRequireAdministrator;
    if (level == "highestAvailable") return ElevationCause::kHighestAvailable;
    // Any stated level, asInvoker included, turns installer detection off; so does a 64-bit program.
    if (level.empty() && pe.machine == kI386 && HasInstallerName(fileName))
        return ElevationCause::kInstallerName;
    return ElevationCause::kNone;
}

}  // namespace authoring
