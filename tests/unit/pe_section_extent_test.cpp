// Which bytes of the file a resource's address stands for, at the edges where a section's VirtualSize
// and SizeOfRawData differ.  The Linux launcher's reader and the disc tool's must agree on every image.
#include <gtest/gtest.h>

#include <optional>

#include "launcher_branding.h"
#include "pe_image.h"
#include "pe_resources.h"
#include "resource_table.h"
#include "synthetic_pe.h"

namespace authoring {
namespace {

// One resource, so the tree is three tables and then the data entry: its place is fixed.
constexpr std::size_t kDataEntry = 3 * (16 + 8);

struct OneSplashImage {
    Bytes image;
    std::size_t header = 0;  // the resource section's header in the section table
    Section rsrc;

    explicit OneSplashImage(const Bytes& splash) {
        SyntheticPeOptions options;
        options.resources = {
            {ResourceKey::Number(kRcdataResourceType), ResourceKey::Text("SPLASH"), 0, 0, splash}};
        image = MakeSyntheticPe(options);
        const PeHeaders pe = ReadPeHeaders(image);
        header = pe.sectionTable + kSectionHeaderSize;
        rsrc = pe.sections[1];
    }
    void SetVirtualSize(std::uint32_t size) { WriteU32(image, header + 8, size); }
    // Points the splash's data entry at `size` bytes `offset` bytes into the section.
    void PlaceData(std::uint32_t offset, std::uint32_t size) {
        WriteU32(image, rsrc.rawOffset + kDataEntry, rsrc.virtualAddress + offset);
        WriteU32(image, rsrc.rawOffset + kDataEntry + 4, size);
    }
    Bytes FileBytes(std::uint32_t offset, std::uint32_t size) const {
        const std::uint8_t* begin = image.data() + rsrc.rawOffset + offset;
        return Bytes(begin, begin + size);
    }
};

// What both readers find, after checking they find the same; a refusal's reason in `problem`.
std::optional<Bytes> SplashOf(const Bytes& image, std::string* problem = nullptr) {
    const auto launcher = autorun::FindPeResource(image, kRcdataResourceType, autorun::kSplashResource);
    std::optional<Bytes> tool;
    try {
        tool = ReadSplashResource(image);
    } catch (const PeFormatError& error) {
        if (problem) *problem = error.what();
    }
    EXPECT_EQ(launcher, tool);
    return tool;
}

TEST(SectionExtent, TheImageAsLinkedIsReadAlike) {
    const Bytes splash(300, 0x5a);
    EXPECT_EQ(SplashOf(OneSplashImage(splash).image), splash);
}

TEST(SectionExtent, DataInTheZeroFilledTailReadsAsZeros) {
    OneSplashImage pe(Bytes(300, 0x5a));
    ASSERT_EQ(pe.rsrc.rawSize, kSyntheticFileAlignment);
    pe.SetVirtualSize(pe.rsrc.rawSize + 0x100);
    // Eight bytes from the file, then eight the loader fills with zeros.
    pe.PlaceData(pe.rsrc.rawSize - 8, 16);
    Bytes expected = pe.FileBytes(pe.rsrc.rawSize - 8, 8);
    expected.resize(16, 0);
    EXPECT_EQ(SplashOf(pe.image), expected);
    // Wholly in the tail, up to its last byte.
    pe.PlaceData(pe.rsrc.rawSize + 0xf0, 0x10);
    EXPECT_EQ(SplashOf(pe.image), Bytes(0x10, 0));
    // One byte past VirtualSize is outside the section.
    pe.PlaceData(pe.rsrc.rawSize + 0xf0, 0x11);
    std::string problem;
    EXPECT_EQ(SplashOf(pe.image, &problem), std::nullopt);
    EXPECT_EQ(problem, "damaged resource tree: an offset points outside the section");
}

TEST(SectionExtent, FilePaddingPastVirtualSizeBelongsToNoAddress) {
    OneSplashImage pe(Bytes(300, 0x5a));
    const std::uint32_t virtualSize = pe.rsrc.virtualSize;
    ASSERT_LT(virtualSize, pe.rsrc.rawSize);
    pe.PlaceData(virtualSize - 4, 4);
    EXPECT_EQ(SplashOf(pe.image), pe.FileBytes(virtualSize - 4, 4));
    // The padding holds bytes the old raw-size rule would have handed out.
    pe.PlaceData(virtualSize - 4, 5);
    std::string problem;
    EXPECT_EQ(SplashOf(pe.image, &problem), std::nullopt);
    EXPECT_EQ(problem, "damaged resource tree: an offset points outside the section");
}

TEST(SectionExtent, NoVirtualSizeMeansTheRawSize) {
    OneSplashImage pe(Bytes(300, 0x5a));
    pe.SetVirtualSize(0);
    pe.PlaceData(pe.rsrc.rawSize - 4, 4);
    EXPECT_EQ(SplashOf(pe.image), pe.FileBytes(pe.rsrc.rawSize - 4, 4));
    pe.PlaceData(pe.rsrc.rawSize - 4, 5);
    EXPECT_EQ(SplashOf(pe.image), std::nullopt);
}

TEST(SectionExtent, AHugeVirtualSizeCannotAskForGigabytesOfZeros) {
    OneSplashImage pe(Bytes(300, 0x5a));
    pe.SetVirtualSize(0xfffff000);
    pe.PlaceData(pe.rsrc.rawSize, 0x80000000);
    std::string problem;
    EXPECT_EQ(SplashOf(pe.image, &problem), std::nullopt);
    EXPECT_EQ(problem, "damaged resource tree: more zero-filled data than the file holds");
    // As many zeros as the file is long are still read.
    pe.PlaceData(pe.rsrc.rawSize, std::uint32_t(pe.image.size()));
    EXPECT_EQ(SplashOf(pe.image), Bytes(pe.image.size(), 0));
}

}  // namespace
}  // namespace authoring
