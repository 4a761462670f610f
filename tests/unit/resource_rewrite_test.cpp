#include <gtest/gtest.h>

#include "pe_checksum.h"
#include "pe_image.h"
#include "resource_section_rewrite.h"
#include "resource_table.h"
#include "synthetic_pe.h"

namespace authoring {
namespace {

Resource Make(const ResourceKey& type, const ResourceKey& name, std::uint16_t language, std::size_t size,
              std::uint8_t fill) {
    return {type, name, language, 0, Bytes(size, fill)};
}

std::vector<Resource> LauncherLikeResources() {
    return {Make(ResourceKey::Number(kRcdataResourceType), ResourceKey::Text("SPLASH"), 1033, 3000, 0x11),
            Make(ResourceKey::Number(kIconResourceType), ResourceKey::Number(2), 1033, 40, 0x22),
            Make(ResourceKey::Number(kIconResourceType), ResourceKey::Number(1), 1033, 40, 0x33),
            Make(ResourceKey::Number(kGroupIconResourceType), ResourceKey::Text("MAINICON"), 1033, 34, 0x44),
            Make(ResourceKey::Text("custom"), ResourceKey::Text("b"), 0, 5, 0x55),
            Make(ResourceKey::Text("Custom2"), ResourceKey::Text("A"), 7, 5, 0x66)};
}

// The entries of the directory table at `offset` in a built section, as (is name, id or name text).
std::vector<std::pair<bool, std::uint32_t>> TableEntries(const Bytes& section, std::size_t offset) {
    std::vector<std::pair<bool, std::uint32_t>> entries;
    const std::size_t count = std::size_t(ReadU16(section, offset + 12)) + ReadU16(section, offset + 14);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t key = ReadU32(section, offset + 16 + 8 * i);
        entries.push_back({(key & 0x80000000) != 0, key & 0x7fffffff});
    }
    return entries;
}

std::u16string NameAt(const Bytes& section, std::uint32_t offset) {
    std::u16string name;
    for (std::uint16_t i = 0; i < ReadU16(section, offset); ++i)
        name.push_back(char16_t(ReadU16(section, offset + 2 + 2 * i)));
    return name;
}

TEST(ResourceOrder, NamesComeFirstInUpperCaseOrderThenNumbersAscending) {
    EXPECT_TRUE(SortsBefore(ResourceKey::Text("zeta"), ResourceKey::Number(1)));
    EXPECT_FALSE(SortsBefore(ResourceKey::Number(1), ResourceKey::Text("a")));
    EXPECT_TRUE(SortsBefore(ResourceKey::Number(2), ResourceKey::Number(10)));
    ResourceKey lower;
    lower.isNumber = false;
    lower.text = u"b_";  // "_" sorts after upper-case letters but before lower-case ones
    EXPECT_TRUE(SortsBefore(ResourceKey::Text("BA"), lower));
    EXPECT_TRUE(lower == ResourceKey::Text("B_"));
}

TEST(ResourceSection, TheRootTableIsSortedWithNamesInUpperCase) {
    const Bytes section = BuildResourceSection(LauncherLikeResources(), 0x5000);
    const auto root = TableEntries(section, 0);
    ASSERT_EQ(root.size(), 5u);
    EXPECT_TRUE(root[0].first);
    EXPECT_EQ(NameAt(section, root[0].second), u"CUSTOM");
    EXPECT_EQ(NameAt(section, root[1].second), u"CUSTOM2");
    EXPECT_EQ(root[2], std::make_pair(false, std::uint32_t(kIconResourceType)));
    EXPECT_EQ(root[3], std::make_pair(false, std::uint32_t(kRcdataResourceType)));
    EXPECT_EQ(root[4], std::make_pair(false, std::uint32_t(kGroupIconResourceType)));
}

TEST(ResourceSection, ReadsBackWhatWasBuiltAtAnyRva) {
    const auto resources = LauncherLikeResources();
    const Bytes image = MakeSyntheticPe({false, resources, RelocationBlock(0x1000, {0x10}), {}, 0});
    const auto read = ReadResources(image, ReadPeHeaders(image));
    ASSERT_EQ(read.size(), resources.size());
    for (const Resource& wanted : resources) {
        const auto found = FindResources(read, wanted.type, wanted.name);
        ASSERT_EQ(found.size(), 1u) << wanted.name.Describe();
        EXPECT_EQ(found[0]->data, wanted.data);
        EXPECT_EQ(found[0]->language, wanted.language);
    }
}

TEST(ResourceSection, RefusesTwoResourcesThatOnlyDifferInTheCaseOfTheirName) {
    std::vector<Resource> resources = {Make(ResourceKey::Number(10), ResourceKey::Text("SPLASH"), 0, 1, 0)};
    resources.push_back(resources[0]);
    resources[1].name.text = u"splash";
    EXPECT_THROW(BuildResourceSection(resources, 0x1000), PeFormatError);
}

TEST(ResourceSection, ADamagedTreeIsRefusedNotFollowed) {
    Bytes image = MakeSyntheticPe({false, LauncherLikeResources(), {}, {}, 0});
    const PeHeaders pe = ReadPeHeaders(image);
    const Section& rsrc = pe.sections[1];
    WriteU32(image, rsrc.rawOffset + 16 + 4, 0x80000000 | 0x7ffffff0);  // first type's table far outside
    EXPECT_THROW(ReadResources(image, pe), PeFormatError);
}

class ResourceRewrite : public ::testing::TestWithParam<bool> {};

// Growing the resources by more than a section alignment moves the relocations behind them.
TEST_P(ResourceRewrite, MovesTheRelocationsAndKeepsTheHeadersConsistent) {
    const Bytes relocations = RelocationBlock(0x1000, {0x10, 0x20});
    const Bytes image = MakeSyntheticPe({GetParam(), LauncherLikeResources(), relocations, {}, 0});
    auto resources = LauncherLikeResources();
    resources[0].data.assign(0x2345, 0x77);
    const Bytes out = ReplaceResources(image, resources);

    const PeHeaders pe = ReadPeHeaders(out);
    ASSERT_EQ(pe.sections.size(), 3u);
    const Section& rsrc = pe.sections[1];
    const Section& reloc = pe.sections[2];
    EXPECT_EQ(rsrc.virtualAddress, 0x2000u);
    EXPECT_EQ(reloc.virtualAddress,
              AlignUp(rsrc.virtualAddress + rsrc.virtualSize, kSyntheticSectionAlignment));
    EXPECT_EQ(reloc.rawOffset, rsrc.rawOffset + rsrc.rawSize);
    EXPECT_EQ(rsrc.rawSize % kSyntheticFileAlignment, 0u);
    EXPECT_EQ(pe.directories[kBaseRelocationDirectory].rva, reloc.virtualAddress);
    EXPECT_EQ(pe.directories[kResourceDirectory].size, rsrc.virtualSize);
    EXPECT_EQ(Bytes(out.data() + reloc.rawOffset, out.data() + reloc.rawOffset + relocations.size()),
              relocations);
    EXPECT_EQ(ReadU32(out, pe.optionalHeader + kSizeOfImageField),
              AlignUp(reloc.virtualAddress + reloc.virtualSize, kSyntheticSectionAlignment));
    EXPECT_EQ(ReadU32(out, pe.optionalHeader + kCheckSumField),
              PeChecksum(out, pe.optionalHeader + kCheckSumField));
    EXPECT_EQ(FindResources(ReadResources(out, pe), resources[0].type, resources[0].name)[0]->data,
              resources[0].data);
    // The code before the resources is untouched.
    EXPECT_TRUE(std::equal(image.data() + pe.sections[0].rawOffset, image.data() + rsrc.rawOffset,
                           out.data() + pe.sections[0].rawOffset));
}

TEST_P(ResourceRewrite, ShrinkingMovesTheRelocationsBackDown) {
    auto resources = LauncherLikeResources();
    resources[0].data.assign(0x5000, 0x77);
    const Bytes image = MakeSyntheticPe({GetParam(), resources, RelocationBlock(0x1000, {0x10}), {}, 0});
    resources[0].data.assign(10, 0x78);
    const PeHeaders pe = ReadPeHeaders(ReplaceResources(image, resources));
    EXPECT_EQ(pe.sections[2].virtualAddress, 0x3000u);
    EXPECT_EQ(pe.directories[kBaseRelocationDirectory].rva, 0x3000u);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, ResourceRewrite, ::testing::Bool());

TEST(ResourceRewriteRefuses, ASignedImage) {
    const Bytes image = MakeSyntheticPe({false, LauncherLikeResources(), {}, {}, 64});
    EXPECT_THROW(ReplaceResources(image, LauncherLikeResources()), PeFormatError);
}

TEST(ResourceRewriteRefuses, ALoadedSectionBehindTheResources) {
    const Bytes image = MakeSyntheticPe({false,
                                         LauncherLikeResources(),
                                         RelocationBlock(0x1000, {0x10}),
                                         {{".data2", Bytes(16, 1), 0xc0000040}},
                                         0});
    EXPECT_THROW(ReplaceResources(image, LauncherLikeResources()), PeFormatError);
}

TEST(ResourceRewrite, MovesDiscardableDebuggingSectionsAlong) {
    const Bytes image = MakeSyntheticPe({false,
                                         LauncherLikeResources(),
                                         RelocationBlock(0x1000, {0x10}),
                                         {{".debug", Bytes(16, 9), 0x42000040}},
                                         0});
    auto resources = LauncherLikeResources();
    resources[0].data.assign(0x3000, 1);
    const PeHeaders pe = ReadPeHeaders(ReplaceResources(image, resources));
    EXPECT_GT(pe.sections[3].virtualAddress, pe.sections[2].virtualAddress);
}

TEST(ResourceRewriteRefuses, ARelocationThatPatchesTheResources) {
    const Bytes image =
        MakeSyntheticPe({false, LauncherLikeResources(), RelocationBlock(0x2000, {0x8}), {}, 0});
    EXPECT_THROW(ReplaceResources(image, LauncherLikeResources()), PeFormatError);
}

TEST(PeHeaders, RefuseWhatIsNoExecutable) {
    EXPECT_THROW(ReadPeHeaders(Bytes(10, 0)), PeFormatError);
    Bytes image = MakeSyntheticPe({false, LauncherLikeResources(), {}, {}, 0});
    image.resize(0x100);  // the section table cut off
    EXPECT_THROW(ReadPeHeaders(image), PeFormatError);
}

// Found by pe_resources_fuzzer: the block's entries were read past the table, up to the end of the file.
TEST(ResourceRewriteRefuses, ARelocationBlockLongerThanItsTable) {
    for (std::uint32_t blockSize : {0x40u, 0x7ffffff0u, 0xfffffffcu}) {
        Bytes relocations = RelocationBlock(0x1000, {0x10});
        WriteU32(relocations, 4, blockSize);
        const Bytes image = MakeSyntheticPe({false, LauncherLikeResources(), relocations, {}, 0});
        EXPECT_THROW(ReplaceResources(image, LauncherLikeResources()), PeFormatError) << blockSize;
    }
}

// Found by pe_resources_fuzzer: a table beyond the end of the file escaped as another kind of error,
// which the tool reported without naming the file.
TEST(ResourceRewriteRefuses, BaseRelocationsBeyondTheEndOfTheFile) {
    Bytes image = MakeSyntheticPe({false, LauncherLikeResources(), RelocationBlock(0x1000, {0x10}), {}, 0});
    const PeHeaders pe = ReadPeHeaders(image);
    WriteU32(image, pe.directoryTable + 8 * kBaseRelocationDirectory + 4, 0x10000);
    EXPECT_THROW(ReplaceResources(image, LauncherLikeResources()), PeFormatError);
}

// The data entry that the first name and language under the root's entry `typeIndex` lead to.
std::size_t FirstDataEntry(const Bytes& section, std::size_t typeIndex) {
    std::uint32_t table = ReadU32(section, 16 + 8 * typeIndex + 4) & 0x7fffffff;
    table = ReadU32(section, table + 16 + 4) & 0x7fffffff;
    return ReadU32(section, table + 16 + 4);
}

// A tree whose tables or data are shared stands for many more resources than the file holds: a few
// kilobytes could make millions.  Linkers share neither.
TEST(ResourceSection, RefusesSharedTablesAndOverlappingData) {
    const Bytes image = MakeSyntheticPe({false, LauncherLikeResources(), {}, {}, 0});
    const PeHeaders pe = ReadPeHeaders(image);
    const std::size_t rsrc = pe.sections[1].rawOffset;
    const Bytes section(image.begin() + std::ptrdiff_t(rsrc), image.end());

    Bytes sharedTable = image;  // the second type's entry leads to the first type's names
    WriteU32(sharedTable, rsrc + 16 + 8 + 4, ReadU32(image, rsrc + 16 + 4));
    EXPECT_THROW(ReadResources(sharedTable, pe), PeFormatError);

    Bytes overlapping = image;  // an icon's data entry claims the splash picture's bytes too
    const std::size_t splash = rsrc + FirstDataEntry(section, 3), icon = rsrc + FirstDataEntry(section, 2);
    WriteU32(overlapping, icon, ReadU32(image, splash));
    WriteU32(overlapping, icon + 4, ReadU32(image, splash + 4));
    EXPECT_THROW(ReadResources(overlapping, pe), PeFormatError);

    EXPECT_EQ(ReadResources(image, pe).size(), LauncherLikeResources().size());
}

}  // namespace
}  // namespace authoring
