#include <gtest/gtest.h>

#include "icon_file.h"
#include "icon_samples.h"
#include "version_info.h"

namespace authoring {
namespace {

TEST(IconFile, KeepsEveryImageIncludingA256PixelPng) {
    const auto images =
        ReadIconFile(IcoFile({{256, PngImage(256)}, {32, BitmapImage(32)}, {16, BitmapImage(16)}}));
    ASSERT_EQ(images.size(), 3u);
    EXPECT_TRUE(images[0].png);
    EXPECT_EQ(images[0].width, 256);
    EXPECT_EQ(images[1].bitCount, 32);  // taken from the bitmap when the entry says 0
    EXPECT_EQ(images[1].planes, 1);
    EXPECT_TRUE(HasXpIcon(images));
    EXPECT_EQ(images[1].data, BitmapImage(32));
}

TEST(IconFile, NoXpIconWhenThe32PixelImageIsAPng) {
    EXPECT_FALSE(HasXpIcon(ReadIconFile(IcoFile({{32, PngImage(32)}, {16, BitmapImage(16)}}))));
}

TEST(IconFile, RefusesWhatIsNoIcon) {
    EXPECT_THROW(ReadIconFile({'G', 'I', 'F', '8', '9', 'a'}), IconFormatError);
    EXPECT_THROW(ReadIconFile(IcoFile({})), IconFormatError);
    Bytes cut = IcoFile({{32, BitmapImage(32)}});
    cut.resize(cut.size() - 1);
    EXPECT_THROW(ReadIconFile(cut), IconFormatError);
    EXPECT_THROW(ReadIconFile(IcoFile({{48, BitmapImage(32)}})),
                 IconFormatError);                                               // entry and bitmap disagree
    EXPECT_THROW(ReadIconFile(IcoFile({{32, Bytes(60, 7)}})), IconFormatError);  // neither PNG nor bitmap
}

TEST(IconGroup, NamesItsImagesByConsecutiveIdentifiers) {
    const auto images = ReadIconFile(IcoFile({{256, PngImage(256)}, {32, BitmapImage(32)}}));
    const Bytes group = BuildIconGroup(images, 7);
    EXPECT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(IconGroupMembers(group), (std::vector<std::uint16_t>{7, 8}));
    EXPECT_EQ(group[6], 0);  // 256 is stored as 0
    EXPECT_EQ(ReadU32(group, 6 + 14 + 8), images[1].data.size());
}

// A launcher's icon comes back out as a file that reads as the one that went in, 256 pixels included.
TEST(IconFile, IsRebuiltFromAGroupAndItsImages) {
    const auto images =
        ReadIconFile(IcoFile({{256, PngImage(256)}, {32, BitmapImage(32)}, {16, BitmapImage(16)}}));
    const Bytes group = BuildIconGroup(images, 5);
    const auto byId = [&](std::uint16_t id) -> const Bytes* {
        return id >= 5 && id < 5 + images.size() ? &images[id - 5].data : nullptr;
    };
    const auto fromGroup = IconGroupImages(group, byId);
    const Bytes file = BuildIconFile(fromGroup);
    const auto again = ReadIconFile(file);
    ASSERT_EQ(again.size(), images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(again[i].width, images[i].width);
        EXPECT_EQ(again[i].height, images[i].height);
        EXPECT_EQ(again[i].bitCount, images[i].bitCount);
        EXPECT_EQ(again[i].png, images[i].png);
        EXPECT_EQ(again[i].data, images[i].data);
    }
    // The images follow the directory back to back, in order.
    EXPECT_EQ(ReadU32(file, 6 + 12), 6u + 3 * 16);
    EXPECT_EQ(ReadU32(file, 6 + 16 + 12), 6u + 3 * 16 + images[0].data.size());
    EXPECT_EQ(file.size(),
              6u + 3 * 16 + images[0].data.size() + images[1].data.size() + images[2].data.size());
}

TEST(IconGroup, ADamagedGroupOrAMissingImageIsRefused) {
    const auto images = ReadIconFile(IcoFile({{32, BitmapImage(32)}}));
    const Bytes group = BuildIconGroup(images, 1);
    const auto none = [](std::uint16_t) -> const Bytes* { return nullptr; };
    EXPECT_THROW(IconGroupImages(group, none), IconFormatError);
    const Bytes wrongSize = BitmapImage(16);  // the group says 32 x 32
    EXPECT_THROW(IconGroupImages(group, [&](std::uint16_t) { return &wrongSize; }), IconFormatError);
    Bytes cut = group;
    cut.resize(cut.size() - 3);
    EXPECT_THROW(IconGroupImages(cut, [&](std::uint16_t) { return &images[0].data; }), IconFormatError);
    EXPECT_THROW(IconGroupImages(BuildIconGroup({}, 1), none), IconFormatError);
}

VersionBlock StringBlock(const std::u16string& key, const std::u16string& text) {
    VersionBlock block{key, 1, {}, {}};
    for (char16_t c : text) AppendU16(block.value, c);
    AppendU16(block.value, 0);
    return block;
}

VersionBlock SampleVersionInfo() {
    VersionBlock table{
        u"040904b0",
        1,
        {},
        {StringBlock(u"FileDescription", u"Autorun"), StringBlock(u"ProductName", u"Autorun")}};
    VersionBlock strings{u"StringFileInfo", 1, {}, {table}};
    VersionBlock translation{u"Translation", 0, {0x09, 0x04, 0xb0, 0x04}, {}};
    VersionBlock vars{u"VarFileInfo", 1, {}, {translation}};
    return {u"VS_VERSION_INFO", 0, Bytes(52, 0xab), {strings, vars}};
}

TEST(VersionInfo, RoundTripsAndKeepsEveryBlockOnA4ByteBoundary) {
    const Bytes built = BuildVersionInfo(SampleVersionInfo());
    EXPECT_EQ(ReadU16(built, 0), built.size());
    EXPECT_EQ(ReadU16(built, 2), 52);  // the fixed file information
    const VersionBlock parsed = ParseVersionInfo(built);
    EXPECT_EQ(BuildVersionInfo(parsed), built);
    EXPECT_EQ(parsed.children[1].children[0].value, (Bytes{0x09, 0x04, 0xb0, 0x04}));
    EXPECT_EQ(FindVersionString(parsed, u"ProductName"), std::u16string(u"Autorun"));
}

TEST(VersionInfo, SetsAndAddsStrings) {
    VersionBlock info = SampleVersionInfo();
    SetVersionString(info, u"ProductName", u"Sky Racer \u00dc");
    SetVersionString(info, u"CompanyName", u"ACME");
    const VersionBlock parsed = ParseVersionInfo(BuildVersionInfo(info));
    EXPECT_EQ(FindVersionString(parsed, u"ProductName"), std::u16string(u"Sky Racer \u00dc"));
    EXPECT_EQ(FindVersionString(parsed, u"CompanyName"), std::u16string(u"ACME"));
    EXPECT_EQ(FindVersionString(parsed, u"FileDescription"), std::u16string(u"Autorun"));
}

TEST(VersionInfo, RefusesBlocksThatOverrunTheirParent) {
    Bytes built = BuildVersionInfo(SampleVersionInfo());
    WriteU16(built, 0, std::uint16_t(built.size() + 8));
    EXPECT_THROW(ParseVersionInfo(built), VersionInfoError);
}

// Found by pe_resources_fuzzer: a text cut short by its block's end at an odd byte was written back
// with a length in characters that didn't match its bytes, and so read back a byte shorter.
TEST(VersionInfo, ATextCutShortByItsBlockKeepsWholeCharacters) {
    Bytes block;
    AppendU16(block, 15);  // the block ends 3 bytes into a value announced as 10 characters
    AppendU16(block, 10);
    AppendU16(block, 1);
    for (char16_t c : u"A") AppendU16(block, c);
    block.insert(block.end(), {0, 0, 'B', 0, 'C'});
    const VersionBlock parsed = ParseVersionInfo(block);
    EXPECT_EQ(parsed.value, (Bytes{'B', 0}));
    const Bytes built = BuildVersionInfo(parsed);
    EXPECT_EQ(BuildVersionInfo(ParseVersionInfo(built)), built);
}

}  // namespace
}  // namespace authoring
