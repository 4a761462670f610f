#include "settings_format.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace autorun {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concatenate(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Header(std::uint16_t firstLength, std::uint16_t nameLength) {
    return {std::uint8_t(firstLength), std::uint8_t(firstLength >> 8), std::uint8_t(nameLength),
            std::uint8_t(nameLength >> 8)};
}

std::uint32_t StoredWord(const Bytes& words, std::size_t index) {
    const std::uint8_t* p = &words[4 * index];
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

TEST(WordOffset, MatchesTheFormatsFirstFigures) {
    EXPECT_EQ(WordOffset(0), 0u);
    EXPECT_EQ(WordOffset(1), 33u);
    EXPECT_EQ(WordOffset(2), 144u);
    EXPECT_EQ(WordOffset(3), 369u);
    EXPECT_EQ(WordOffset(4), 768u);
}

TEST(WordOffset, WrapsModulo2To32FromWord256On) {
    EXPECT_EQ(WordOffset(256), 2097152u);  // 256^4 is exactly 2^32
    EXPECT_EQ(WordOffset(300), 3807912704u);
    EXPECT_EQ(WordOffset(1000), 3599587328u);
}

TEST(WordCount, RoundsUpToWholeWords) {
    EXPECT_EQ(WordCount(1), 1u);
    EXPECT_EQ(WordCount(4), 1u);
    EXPECT_EQ(WordCount(5), 2u);
    EXPECT_EQ(WordCount(8), 2u);
    EXPECT_EQ(WordCount(9), 3u);
    EXPECT_EQ(WordCount(12), 3u);
    EXPECT_EQ(WordCount(65532), 16383u);
}

// "abcdefghi" worked out by hand: each plain word plus SettingsKey plus 0, 33 and 144.
const Bytes kNineBytesEncoded = {0x36, 0x84, 0xD1, 0xA0, 0x5B, 0x88, 0xD5, 0xA4, 0xCE, 0x22, 0x6E, 0x3C};

TEST(DecodeSettingsBlock, DecodesHandWorkedWordsAndDropsTheFillBytes) {
    EXPECT_EQ(DecodeSettingsBlock(kNineBytesEncoded.data(), 9), "abcdefghi");

    Bytes otherFill = kNineBytesEncoded;
    otherFill[9] ^= 0x5A;  // the three bytes after "i" are fill
    otherFill[11] ^= 0xFF;
    EXPECT_EQ(DecodeSettingsBlock(otherFill.data(), 9), "abcdefghi");
}

TEST(EncodeSettingsBlock, MatchesHandWorkedWords) {
    EXPECT_EQ(EncodeSettingsBlock("abcdefghi"), kNineBytesEncoded);
}

TEST(EncodeSettingsBlock, AddsWrappedOffsetsBeyondWord256) {
    const std::size_t length = 1204;  // 301 words
    const Bytes words = EncodeSettingsBlock(std::string(length, '\0'));
    EXPECT_EQ(StoredWord(words, 256), SettingsKey + 2097152u);
    EXPECT_EQ(StoredWord(words, 300), 526795989u);  // (SettingsKey + 3807912704) mod 2^32

    std::string name(length, '\0');
    for (std::size_t i = 0; i < length; ++i) name[i] = char(i * 7 + 1);
    const Bytes encoded = EncodeSettingsBlock(name);
    EXPECT_EQ(DecodeSettingsBlock(encoded.data(), length), name);
}

TEST(ParseLaunchSettings, SmallestFileHoldsOneWordPerText) {
    // Both one-byte texts worked out by hand: only SettingsKey is added to word 0.
    const Bytes file = {0x01, 0x00, 0x01, 0x00, 0x4D, 0x22, 0x6E, 0x3C, 0xEE, 0x4E, 0x22, 0x6E, 0x3C};
    const LaunchSettings settings = ParseLaunchSettings(file);
    EXPECT_EQ(settings.firstText, "x");
    EXPECT_EQ(settings.gameExeName, "y");
    EXPECT_EQ(settings.formatSize, 13u);
}

TEST(ParseLaunchSettings, NumbersTheNamesWordsFromZeroAgain) {
    // The first text takes two words; the name's single word still carries only SettingsKey.
    const Bytes file = Concatenate(
        {Header(5, 1), {0x3D, 0x87, 0xDA, 0xA8, 0x65, 0x22, 0x6E, 0x3C}, {0x00}, {0x4E, 0x22, 0x6E, 0x3C}});
    const LaunchSettings settings = ParseLaunchSettings(file);
    EXPECT_EQ(settings.firstText, "hello");
    EXPECT_EQ(settings.gameExeName, "y");
}

TEST(ParseLaunchSettings, NameDoesNotDependOnTheFirstTextsLength) {
    const std::string name = "game\\start.exe";
    for (const std::size_t firstLength : {1u, 4u, 5u, 1100u}) {
        const Bytes file = BuildLaunchSettings(std::string(firstLength, 'q'), name);
        EXPECT_EQ(ParseLaunchSettings(file).gameExeName, name) << "first text of " << firstLength << " bytes";
        const Bytes nameWords(file.end() - 16, file.end());
        EXPECT_EQ(nameWords, EncodeSettingsBlock(name)) << "first text of " << firstLength << " bytes";
    }
}

TEST(ParseLaunchSettings, NamesOfWholeWordsHaveNoFill) {
    for (const std::size_t length : {4u, 8u, 12u}) {
        const std::string name = std::string("0123456789ab").substr(0, length);
        const Bytes file = BuildLaunchSettings("a", name, "XYZ");
        EXPECT_EQ(file.size(), 9 + length);
        const LaunchSettings settings = ParseLaunchSettings(file);
        EXPECT_EQ(settings.gameExeName, name);
        EXPECT_EQ(settings.formatSize, file.size());
    }
}

TEST(ParseLaunchSettings, RoundTripsWhateverTheFillBytes) {
    const std::string allBytes = [] {
        std::string bytes(256, '\0');
        for (int i = 0; i < 256; ++i) bytes[std::size_t(i)] = char(i);
        return bytes;
    }();
    for (const std::string& fill : {std::string(), std::string("\xFF\xFF\xFF\xFF"), std::string("abcd")}) {
        for (std::size_t length = 1; length <= 13; ++length) {
            const std::string name = allBytes.substr(256 - length);    // ends in 0xFF
            const std::string first = allBytes.substr(0, length + 3);  // starts with NUL
            const LaunchSettings settings = ParseLaunchSettings(BuildLaunchSettings(first, name, fill));
            EXPECT_EQ(settings.firstText, first);
            EXPECT_EQ(settings.gameExeName, name);
        }
    }
}

TEST(ParseLaunchSettings, IgnoresBytesBeyondTheFormat) {
    Bytes file = BuildLaunchSettings("text", "name.exe");
    const std::size_t size = file.size();
    file.insert(file.end(), {0xFF, 0x00, 'x'});
    const LaunchSettings settings = ParseLaunchSettings(file);
    EXPECT_EQ(settings.gameExeName, "name.exe");
    EXPECT_EQ(settings.formatSize, size);
}

TEST(ParseLaunchSettings, AcceptsTheLongestTexts) {
    const std::string longest(kMaxTextLength, 'n');
    const LaunchSettings settings = ParseLaunchSettings(BuildLaunchSettings(longest, longest));
    EXPECT_EQ(settings.firstText, longest);
    EXPECT_EQ(settings.gameExeName, longest);
}

TEST(ParseLaunchSettings, RejectsLengthsOutsideTheFormat) {
    for (const std::uint16_t bad : std::initializer_list<std::uint16_t>{0, 65533, 65534, 65535}) {
        // Enough bytes behind the header that only the length itself can be at fault.
        const Bytes padding(2 * 65536 + 8, 0);
        EXPECT_THROW(ParseLaunchSettings(Concatenate({Header(bad, 1), padding})), SettingsFormatError) << bad;
        EXPECT_THROW(ParseLaunchSettings(Concatenate({Header(1, bad), padding})), SettingsFormatError) << bad;
    }
}

TEST(ParseLaunchSettings, RejectsFilesShorterThanTheirLengthsAnnounce) {
    EXPECT_THROW(ParseLaunchSettings({}), SettingsFormatError);
    EXPECT_THROW(ParseLaunchSettings({0x01, 0x00, 0x01}), SettingsFormatError);
    const Bytes file = BuildLaunchSettings("text", "name.exe");
    for (const std::size_t size : {std::size_t(4), std::size_t(9), file.size() - 1})
        EXPECT_THROW(ParseLaunchSettings(Bytes(file.begin(), file.begin() + std::ptrdiff_t(size))),
                     SettingsFormatError)
            << size << " bytes";
}

TEST(BuildLaunchSettings, RejectsLengthsOutsideTheFormat) {
    EXPECT_THROW(BuildLaunchSettings("", "name"), SettingsFormatError);
    EXPECT_THROW(BuildLaunchSettings("text", ""), SettingsFormatError);
    EXPECT_THROW(BuildLaunchSettings("text", std::string(kMaxTextLength + 1, 'n')), SettingsFormatError);
    EXPECT_THROW(BuildLaunchSettings(std::string(kMaxTextLength + 1, 't'), "name"), SettingsFormatError);
}

}  // namespace
}  // namespace autorun
