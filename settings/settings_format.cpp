#include "settings_format.h"

#include <string>

#include "byte_order.h"

namespace autorun {
namespace {

constexpr std::size_t kHeaderSize = 4;  // the two 16-bit lengths
constexpr std::size_t kSeparatorSize = 1;

void CheckTextLength(std::size_t length, const char* which) {
    if (length < kMinTextLength || length > kMaxTextLength)
        throw SettingsFormatError(std::string(which) + " length " + std::to_string(length) +
                                  " is outside 1..65532");
}

}  // namespace

std::size_t WordCount(std::size_t length) {
    return length == 0 ? 0 : (length - 1) / 4 + 1;
}

std::uint32_t WordOffset(std::uint32_t index) {
    const std::uint32_t square = index * index;
    return 32u * square + square * index * index;
}

std::string DecodeSettingsBlock(const std::uint8_t* words, std::size_t length) {
    const std::size_t count = WordCount(length);
    std::string plain(count * 4, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t stored = LoadLittleU32(words + 4 * i);
        StoreLittleU32(reinterpret_cast<std::uint8_t*>(&plain[4 * i]),
                       stored - SettingsKey - WordOffset(std::uint32_t(i)));
    }
    plain.resize(length);
    return plain;
}

std::vector<std::uint8_t> EncodeSettingsBlock(std::string_view text, std::string_view fill) {
    const std::size_t count = WordCount(text.size());
    std::string padded(text);
    padded.append(fill.substr(0, count * 4 - text.size()));
    padded.resize(count * 4, '\0');
    std::vector<std::uint8_t> words(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t plain = LoadLittleU32(reinterpret_cast<const std::uint8_t*>(&padded[4 * i]));
        StoreLittleU32(&words[4 * i], plain + SettingsKey + WordOffset(std::uint32_t(i)));
    }
    return words;
}

LaunchSettings ParseLaunchSettings(const std::vector<std::uint8_t>& file) {
    if (file.size() < kHeaderSize)
        throw SettingsFormatError("file holds " + std::to_string(file.size()) +
                                  " bytes, too short for its header");
    const std::size_t firstLength = LoadLittleU16(&file[0]);
    const std::size_t nameLength = LoadLittleU16(&file[2]);
    CheckTextLength(firstLength, "first text");
    CheckTextLength(nameLength, "executable name");

    const std::size_t firstOffset = kHeaderSize;
    const std::size_t nameOffset = firstOffset + 4 * WordCount(firstLength) + kSeparatorSize;
    const std::size_t formatSize = nameOffset + 4 * WordCount(nameLength);
    if (file.size() < formatSize)
        throw SettingsFormatError("file holds " + std::to_string(file.size()) +
                                  " bytes, its lengths announce " + std::to_string(formatSize));

    return {DecodeSettingsBlock(&file[firstOffset], firstLength),
            DecodeSettingsBlock(&file[nameOffset], nameLength), formatSize};
}

std::vector<std::uint8_t> BuildLaunchSettings(std::string_view firstText, std::string_view gameExeName,
                                              std::string_view fill) {
    CheckTextLength(firstText.size(), "first text");
    CheckTextLength(gameExeName.size(), "executable name");
    std::vector<std::uint8_t> file(kHeaderSize);
    StoreLittleU16(&file[0], std::uint16_t(firstText.size()));
    StoreLittleU16(&file[2], std::uint16_t(gameExeName.size()));
    const auto first = EncodeSettingsBlock(firstText, fill);
    file.insert(file.end(), first.begin(), first.end());
    file.push_back(fill.empty() ? 0 : std::uint8_t(fill.back()));
    const auto name = EncodeSettingsBlock(gameExeName, fill);
    file.insert(file.end(), name.begin(), name.end());
    return file;
}

}  // namespace autorun
