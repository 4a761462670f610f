// The resource reader against real PE32 and PE32+ files made by the MinGW tools, and against
// damaged copies of them: a disc may carry anything under the Windows launcher's name.
#include "pe_resources.h"

#include "launcher_branding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace autorun {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void PutU32(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class PeResourcesTest : public testing::TestWithParam<const char*> {
   protected:
    void SetUp() override {
#ifdef AUTORUN_PE_FIXTURES_MISSING
        GTEST_SKIP() << AUTORUN_PE_FIXTURES_MISSING;
#endif
    }

    const std::vector<std::uint8_t> image = ReadFile(GetParam());
    const std::vector<std::uint8_t> splash = ReadFile(AUTORUN_SPLASH_JPG);
    const std::vector<std::uint8_t> other = ReadFile(AUTORUN_OTHER_BIN);
};

TEST_P(PeResourcesTest, FindsNamedRcdataWhateverTheCaseOfTheName) {
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(FindPeResource(image, kRcdataResourceType, "SPLASH"), splash);
    EXPECT_EQ(FindPeResource(image, kRcdataResourceType, "splash"), splash);
    EXPECT_EQ(FindPeResource(image, kRcdataResourceType, "OTHER"), other);
}

TEST_P(PeResourcesTest, OtherNamesTypesAndNumberedResourcesDontMatch) {
    EXPECT_FALSE(FindPeResource(image, kRcdataResourceType, "SPLASH2"));
    EXPECT_FALSE(FindPeResource(image, kRcdataResourceType, "SPLAS"));
    EXPECT_FALSE(FindPeResource(image, kRcdataResourceType, "7"));  // stored under the number 7
    EXPECT_FALSE(FindPeResource(image, 3 /* RT_ICON */, "SPLASH"));
}

TEST_P(PeResourcesTest, TruncatedImagesGiveNothingOrTheWholeResource) {
    for (std::size_t length = 0; length < image.size(); length += 61) {
        const std::vector<std::uint8_t> cut(image.begin(),
                                            image.begin() + static_cast<std::ptrdiff_t>(length));
        const auto found = FindPeResource(cut, kRcdataResourceType, "SPLASH");
        if (found) {
            EXPECT_EQ(*found, splash) << length;
        }
    }
}

TEST_P(PeResourcesTest, SizesAndOffsetsPointingOutsideTheImageGiveNothing) {
    // Every 32-bit field of the headers and the resource tree set to a huge value in turn: the
    // reader must stay inside the image and never return other bytes than the picture's.
    const auto pictureStart =
        std::search(image.begin(), image.end(), splash.begin(), splash.end()) - image.begin();
    ASSERT_LT(static_cast<std::size_t>(pictureStart), image.size());
    for (std::size_t offset = 0; offset + 4 <= static_cast<std::size_t>(pictureStart); offset += 2) {
        std::vector<std::uint8_t> damaged = image;
        PutU32(damaged, offset, 0xFFFFFFF0u);
        const auto found = FindPeResource(damaged, kRcdataResourceType, "SPLASH");
        if (found) {
            EXPECT_EQ(*found, splash) << offset;
        }
    }
}

TEST_P(PeResourcesTest, TheDiscToolsBrandingIsWhatTheLinuxLauncherShows) {
    // What `autorun-disc brand --splash` writes, from a file the MinGW linker made.
    authoring::Branding branding;
    branding.splashJpeg = other;
    const std::vector<std::uint8_t> branded = authoring::BrandLauncher(image, branding);
    EXPECT_EQ(FindPeResource(branded, kRcdataResourceType, kSplashResource), other);
    EXPECT_EQ(FindPeResource(branded, kRcdataResourceType, "Other"), other);
    // Rebranded with the old picture, the image reads as it did.
    branding.splashJpeg = splash;
    const std::vector<std::uint8_t> again = authoring::BrandLauncher(branded, branding);
    EXPECT_EQ(FindPeResource(again, kRcdataResourceType, kSplashResource), splash);
    EXPECT_EQ(authoring::ReadSplashResource(again), splash);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PeResourcesTest,
                         testing::Values(AUTORUN_PE32_FIXTURE, AUTORUN_PE32PLUS_FIXTURE));

TEST(PeResources, FilesThatAreNotPeGiveNothing) {
    EXPECT_FALSE(FindPeResource({}, kRcdataResourceType, "SPLASH"));
    EXPECT_FALSE(FindPeResource(ReadFile(AUTORUN_SPLASH_JPG), kRcdataResourceType, "SPLASH"));
    std::vector<std::uint8_t> mzOnly(512, 0);
    mzOnly[0] = 'M';
    mzOnly[1] = 'Z';
    PutU32(mzOnly, 0x3C, 0x7FFFFFF0u);
    EXPECT_FALSE(FindPeResource(mzOnly, kRcdataResourceType, "SPLASH"));
}

}  // namespace
}  // namespace autorun
