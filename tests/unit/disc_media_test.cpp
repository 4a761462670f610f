#include <gtest/gtest.h>

#include <fstream>

#include "disc_check.h"
#include "disc_media.h"
#include "split_file_check.h"

namespace authoring {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DiscMedia, EachMediumHoldsExactlyItsSectorsAndNotOneMore) {
    const auto media = Media();
    ASSERT_EQ(media.size(), 5u);
    for (std::size_t at = 0; at < media.size(); ++at) {
        const Medium& medium = media[at];
        SCOPED_TRACE(std::string(medium.option));
        EXPECT_EQ(FindMedium(medium.option), &medium);
        EXPECT_EQ(SmallestMediumFor(medium.sectors), &medium);
        EXPECT_FALSE(FitProblem(medium, medium.sectors));
        const auto over = FitProblem(medium, medium.sectors + 1);
        ASSERT_TRUE(over);
        EXPECT_TRUE(Contains(*over, GroupedNumber(medium.sectors + 1) + " sectors")) << *over;
        EXPECT_TRUE(Contains(*over, GroupedNumber(medium.sectors) + " sectors")) << *over;
        EXPECT_TRUE(Contains(*over, std::string(medium.name))) << *over;
        const Medium* next = at + 1 < media.size() ? &media[at + 1] : nullptr;
        EXPECT_EQ(SmallestMediumFor(medium.sectors + 1), next);
    }
    EXPECT_EQ(FindMedium("cd")->sectors, 360'000u);
    EXPECT_EQ(FindMedium("dvd")->sectors, 2'295'104u);
    EXPECT_EQ(FindMedium("dvd-dl")->sectors, 4'171'712u);
    EXPECT_EQ(FindMedium("bd")->sectors, 12'219'392u);
    EXPECT_EQ(FindMedium("bd-dl")->sectors, 24'438'784u);
    EXPECT_EQ(FindMedium("DVD"), nullptr);
    EXPECT_EQ(FindMedium(""), nullptr);
    EXPECT_EQ(SmallestMediumFor(0), &media[0]);
}

TEST(DiscMedia, SummariesNameTheSizeAndTheSmallestMedium) {
    EXPECT_EQ(FitSummary(360'000), "737,280,000 bytes (360,000 sectors), fits on a CD-R 700 MB");
    EXPECT_TRUE(Contains(FitSummary(360'001), "fits on a DVD-R/+R 4.7 GB"));
    EXPECT_TRUE(Contains(FitSummary(24'438'785), "more than a BD-R DL 50 GB holds"));
    EXPECT_EQ(GroupedNumber(0), "0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(4'700'000'000), "4,700,000,000");
    EXPECT_EQ(GroupedNumber(UINT64_MAX), "18,446,744,073,709,551,615");
}

TEST(DiscMedia, SectorsAndExtentsRoundUpAtTheirBoundaries) {
    EXPECT_EQ(SectorsFor(0), 0u);
    EXPECT_EQ(SectorsFor(1), 1u);
    EXPECT_EQ(SectorsFor(2048), 1u);
    EXPECT_EQ(SectorsFor(2049), 2u);
    EXPECT_EQ(SectorsFor(4'700'000'000), 2'294'922u);
    EXPECT_EQ(ExtentsFor(0), 1u);
    EXPECT_EQ(ExtentsFor(0xFFFFFFFF), 1u);
    EXPECT_EQ(ExtentsFor(0x100000000), 2u);
    EXPECT_EQ(ExtentsFor(2 * 0xFFFFF800ull), 2u);
    EXPECT_EQ(ExtentsFor(2 * 0xFFFFF800ull + 1), 3u);
}

DiscContents Files(std::size_t count, std::size_t bytes) {
    DiscContents contents;
    contents.folders = {"data"};
    for (std::size_t at = 0; at < count; ++at)
        contents.files.push_back({"data/file" + std::to_string(at) + ".bin", std::nullopt, Bytes(bytes, 1)});
    return contents;
}

TEST(DiscMedia, TheEstimateCountsEachFilesSectorsAndItsDirectoryRecords) {
    const std::uint64_t empty = EstimateImageSectors(DiscContents{});
    // One byte more than a sector takes a second sector, for each file.
    EXPECT_EQ(EstimateImageSectors(Files(3, 2049)) - EstimateImageSectors(Files(3, 2048)), 3u);
    EXPECT_EQ(EstimateImageSectors(Files(3, 1)) - EstimateImageSectors(Files(3, 0)), 3u);
    // A folder and its records cost sectors of their own, growing with the entries.
    EXPECT_GT(EstimateImageSectors(Files(1, 0)), empty);
    EXPECT_GE(EstimateImageSectors(Files(1000, 0)) - EstimateImageSectors(Files(1, 0)), 1000u / 8);
}

TEST(DiscMedia, FileSizesComeFromTheSourceFiles) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "disc_media_test.bin";
    std::ofstream(file, std::ios::binary) << std::string(5000, 'x');
    DiscFile disc{"a.bin", file, {}};
    EXPECT_EQ(DiscFileSize(disc), 5000u);
    std::filesystem::remove(file);
    try {
        DiscFileSize(disc);
        ADD_FAILURE() << "a missing source file was given a size";
    } catch (const DiscError& error) {
        EXPECT_TRUE(Contains(error.what(), "disc_media_test.bin: cannot read the file's size"))
            << error.what();
    }
}

// An image's reader reduced to what the split files' check reads.
class SplitReader : public DiscReader {
   public:
    SplitReader(std::vector<SplitFile> files, std::uint64_t sectors)
        : files_(std::move(files)), sectors_(sectors) {}
    std::vector<std::filesystem::path> Files() const override { return {}; }
    Bytes ReadStart(const std::filesystem::path&, std::size_t) const override { return {}; }
    bool IsFolder() const override { return false; }
    std::vector<SplitFile> SplitFiles() const override { return files_; }
    std::uint64_t ImageSectors() const override { return sectors_; }

   private:
    std::vector<SplitFile> files_;
    std::uint64_t sectors_;
};

constexpr std::uint64_t kFirstExtent = 0xFFFFF800;
constexpr std::uint64_t kBigFile = 4'700'000'000;

// 4,700,000,000 bytes as libisofs stores them: a first extent of 4 GiB - 2,048 bytes, then the rest.
StoredFile BigFile() {
    return {kBigFile, {{100, kFirstExtent}, {100 + kFirstExtent / 2048, kBigFile - kFirstExtent}}};
}

std::vector<Finding> Check(const StoredFile& joliet, std::optional<StoredFile> iso9660,
                           std::uint64_t sectors = 3'000'000) {
    std::vector<Finding> findings;
    CheckSplitFiles(SplitReader({{"data/big.pak", joliet, std::move(iso9660)}}, sectors), findings);
    return findings;
}

std::string ProblemOf(const std::vector<Finding>& findings) {
    for (const Finding& finding : findings)
        if (finding.level == Finding::kProblem) return finding.text;
    return "";
}

TEST(SplitFileCheck, AWellFormedSplitFileIsAWarningForMacOsAndFreeBsd) {
    const auto findings = Check(BigFile(), BigFile());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].level, Finding::kWarning);
    EXPECT_EQ(findings[0].text,
              "data/big.pak: 4,700,000,000 bytes, stored in 2 extents (ISO 9660 level 3): Windows reads "
              "it, macOS and FreeBSD don't");
    // The last extent may end exactly at the image's end.
    const StoredFile file = BigFile();
    EXPECT_EQ(ProblemOf(Check(file, file, file.extents[1].block + SectorsFor(file.extents[1].bytes))), "");
}

TEST(SplitFileCheck, ExtentsThatDontMakeUpTheFileAreProblems) {
    StoredFile file = BigFile();
    file.size += 1;
    EXPECT_EQ(ProblemOf(Check(file, std::nullopt)),
              "data/big.pak: its extents add up to 4,700,000,000 bytes, its size is 4,700,000,001");

    file = BigFile();
    file.extents[0].bytes -= 1;  // a gap of one byte before the second extent
    file.extents[1].bytes += 1;
    EXPECT_TRUE(Contains(ProblemOf(Check(file, std::nullopt)), "its extent 1 of 2 ends inside a sector"));

    file = BigFile();
    const std::uint64_t end = file.extents[1].block + SectorsFor(file.extents[1].bytes);
    EXPECT_TRUE(
        Contains(ProblemOf(Check(file, std::nullopt, end - 1)), "its extent 2 runs past the image's end"));
}

TEST(SplitFileCheck, TheJolietAndIso9660RecordsMustAgree) {
    StoredFile iso = BigFile();
    iso.extents[1].bytes -= 2048;
    iso.size -= 2048;
    EXPECT_EQ(ProblemOf(Check(BigFile(), iso)),
              "data/big.pak: its Joliet and ISO 9660 records differ (4,700,000,000 and 4,699,997,952 bytes)");
    iso = BigFile();
    iso.extents[1].block += 1;  // same size, elsewhere
    EXPECT_TRUE(Contains(ProblemOf(Check(BigFile(), iso)), "records differ"));
    iso = BigFile();
    iso.size += 5;
    EXPECT_TRUE(Contains(ProblemOf(Check(BigFile(), iso)), "in the ISO 9660 tree, its extents add up to"));
}

TEST(SplitFileCheck, ABadSplitFileKeepsTheDiscFromPassing) {
    StoredFile file = BigFile();
    file.size -= 1;
    const CheckReport report = CheckDisc(SplitReader({{"big.pak", file, std::nullopt}}, 3'000'000));
    ASSERT_NE(report.FirstProblem(), nullptr);
    EXPECT_FALSE(report.WouldStartGame());
    EXPECT_TRUE(std::any_of(report.findings.begin(), report.findings.end(), [](const Finding& finding) {
        return finding.level == Finding::kProblem && Contains(finding.text, "big.pak: its extents add up");
    }));
}

}  // namespace
}  // namespace authoring
