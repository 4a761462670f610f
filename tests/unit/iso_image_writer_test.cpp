// The ISO writer's guarantees that its tool test can't provoke reliably: the size known before anything
// is written, and no image from game files that change while it is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "disc_media.h"
#include "disc_output.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

class IsoImageWriter : public testing::Test {
   protected:
    void SetUp() override {
        if (!CanWriteIso()) GTEST_SKIP() << "this build writes no ISO images";
        folder_ =
            fs::temp_directory_path() /
            ("iso_writer_test_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        game_ = folder_ / "level.pak";
        std::ofstream(game_, std::ios::binary) << "level";
        fs::resize_file(game_, 80 << 20);  // large enough to report progress
        contents_ = {"Test", {}, {{"level.pak", game_, {}}, {"readme.txt", std::nullopt, Bytes(3000, 'r')}}};
    }
    void TearDown() override { fs::remove_all(folder_); }

    // What is left in the folder besides the game file.
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path() != game_) names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder_;
    fs::path game_;
    DiscContents contents_;
};

TEST_F(IsoImageWriter, TheSizeIsKnownBeforeTheFirstByteAndIsTheImagesSize) {
    const std::string target = (folder_ / "disc.iso").string();
    std::uint64_t announced = 0;
    bool progressBeforeSize = false;
    const auto progress = [&](double) { progressBeforeSize = progressBeforeSize || announced == 0; };
    const std::uint64_t sectors = WriteDiscIso(contents_, target, false, progress, [&](std::uint64_t size) {
        EXPECT_FALSE(fs::exists(target));
        announced = size;
    });
    EXPECT_FALSE(progressBeforeSize);
    EXPECT_EQ(announced, sectors);
    EXPECT_EQ(fs::file_size(target), sectors * kSectorBytes);
    // The estimate for a folder of the same files holds the image with little to spare.
    EXPECT_GE(EstimateImageSectors(contents_), sectors);
    EXPECT_LE(EstimateImageSectors(contents_), sectors + 100);
}

TEST_F(IsoImageWriter, ARefusedSizeWritesNothing) {
    const std::string target = (folder_ / "disc.iso").string();
    try {
        WriteDiscIso(contents_, target, false, {}, [](std::uint64_t) { throw DiscError("too big"); });
        ADD_FAILURE() << "the refusal was lost";
    } catch (const DiscError& error) {
        EXPECT_STREQ(error.what(), "too big");
    }
    EXPECT_EQ(Written(), std::vector<std::string>{});
}

TEST_F(IsoImageWriter, AGameFileThatChangesWhileWrittenLeavesNoImage) {
    const std::string target = (folder_ / "disc.iso").string();
    bool cut = false;
    const auto shrink = [&](double) {
        if (!cut) fs::resize_file(game_, 1 << 20);
        cut = true;
    };
    try {
        WriteDiscIso(contents_, target, false, shrink, {});
        ADD_FAILURE() << "an image with a shrunken file was kept";
    } catch (const DiscError& error) {
        EXPECT_NE(std::string(error.what()).find("level.pak changed while the image was written"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(cut);
    EXPECT_EQ(Written(), std::vector<std::string>{});
}

}  // namespace
}  // namespace authoring
