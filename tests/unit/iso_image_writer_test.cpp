// The ISO writer's guarantees that its tool test can't provoke reliably: the size known before anything
// is written, no image from game files that change while it is written, and the same bytes from the
// same inputs under SOURCE_DATE_EPOCH whatever the order they come in and the files' own dates.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>

#include "disc_media.h"
#include "disc_output.h"
#include "source_date_variable.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

class IsoImageWriter : public testing::Test {
   protected:
    void SetUp() override {
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

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A small disc with a folder, files from the game folder and files made by the tool.
class ReproducibleImage : public IsoImageWriter {
   protected:
    void SetUp() override {
        IsoImageWriter::SetUp();
        if (IsSkipped()) return;
        fs::create_directories(folder_ / "game" / "data");
        std::ofstream(folder_ / "game" / "data" / "b.txt") << "level b";
        std::ofstream(folder_ / "game" / "a.txt") << "level a";
        small_ = {"Repro",
                  {"data"},
                  {{"data/b.txt", folder_ / "game" / "data" / "b.txt", {}},
                   {"a.txt", folder_ / "game" / "a.txt", {}, true},
                   {"made.txt", std::nullopt, Bytes(5000, 'm')}}};
    }

    std::string Image(const DiscContents& contents, const std::string& name) {
        const fs::path target = folder_ / name;
        WriteDiscIso(contents, target.string(), false, {}, {});
        return FileBytes(target);
    }

    DiscContents small_;
};

// Offsets in the primary volume descriptor (sector 16) of its creation and modification dates.
constexpr std::size_t kPvd = 16 * kSectorBytes;
constexpr std::size_t kCreationDate = kPvd + 813;
constexpr std::size_t kModificationDate = kPvd + 830;

TEST_F(ReproducibleImage, TheSameInputsAndDateGiveTheSameBytes) {
    SourceDateVariable date("1700000000");
    const std::string first = Image(small_, "first.iso");
    // Another order of the files, as another file system lists them, and other file dates.
    std::reverse(small_.files.begin(), small_.files.end());
    for (const char* name : {"a.txt", "data/b.txt"})
        fs::last_write_time(folder_ / "game" / name,
                            fs::last_write_time(folder_ / "game" / name) - std::chrono::hours(1000));
    const std::string second = Image(small_, "second.iso");
    ASSERT_EQ(first.size(), second.size());
    EXPECT_TRUE(first == second) << "the images differ first at byte "
                                 << std::mismatch(first.begin(), first.end(), second.begin()).first -
                                        first.begin();
    // The volume's dates are the variable's, in UTC: the digits and a zero time zone.
    EXPECT_EQ(first.substr(kCreationDate, 17), std::string("2023111422132000") + '\0');
    EXPECT_EQ(first.substr(kModificationDate, 17), std::string("2023111422132000") + '\0');
}

TEST_F(ReproducibleImage, AnotherDateGivesAnotherImageAndNoneKeepsTheClock) {
    std::string dated;
    {
        SourceDateVariable date("1700000000");
        dated = Image(small_, "dated.iso");
    }
    {
        SourceDateVariable date("1700000001");
        const std::string later = Image(small_, "later.iso");
        EXPECT_NE(dated, later);
        EXPECT_EQ(later.substr(kCreationDate, 16), "2023111422132100");
    }
    SourceDateVariable none(std::nullopt);
    const std::string now = Image(small_, "now.iso");
    // An image written today: the volume was created in this century, not in 2023.
    EXPECT_NE(now.substr(kCreationDate, 16), "2023111422132000");
    EXPECT_EQ(now.substr(kCreationDate, 2), "20");
}

TEST_F(ReproducibleImage, ABadDateWritesNothing) {
    SourceDateVariable date("tomorrow");
    EXPECT_THROW(WriteDiscIso(small_, (folder_ / "disc.iso").string(), false, {}, {}), DiscError);
    EXPECT_THROW(WriteDiscFolder(small_, (folder_ / "disc").string(), false, {}), DiscError);
    EXPECT_FALSE(fs::exists(folder_ / "disc.iso"));
    EXPECT_FALSE(fs::exists(folder_ / "disc"));
}

TEST_F(ReproducibleImage, AFolderCarriesTheDateOnEveryEntry) {
    SourceDateVariable date("1700000000");
    const fs::path target = folder_ / "disc";
    WriteDiscFolder(small_, target.string(), false, {});
    const auto expected =
        std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1700000000)));
    int entries = 0;
    EXPECT_EQ(fs::last_write_time(target), expected);
    for (const auto& entry : fs::recursive_directory_iterator(target)) {
        EXPECT_EQ(entry.last_write_time(), expected) << entry.path();
        ++entries;
    }
    EXPECT_EQ(entries, 4);  // data, data/b.txt, a.txt, made.txt
}

}  // namespace
}  // namespace authoring
