#include "disc_media.h"

#include <array>
#include <map>
#include <system_error>

#include "folder_tree.h"
#include "text_encoding.h"

namespace authoring {
namespace {

// What a blank disc of each kind holds, as burners report it.  ASCII names, since the Windows build
// prints them in the console's code page.
constexpr std::array<Medium, 5> kMedia{{
    {"cd", "CD-R 700 MB", 360'000},
    {"dvd", "DVD-R/+R 4.7 GB", 2'295'104},
    {"dvd-dl", "DVD-R/+R DL 8.5 GB", 4'171'712},
    {"bd", "BD-R 25 GB", 12'219'392},
    {"bd-dl", "BD-R DL 50 GB", 24'438'784},
}};

// The file system's own sectors, estimated from above so that a disc that the estimate lets through
// fits:
// - 16 sectors of system area, the volume descriptors (primary, Joliet, terminator) and a margin for
//   the root's Rock Ridge continuation area: kFixedSectors.
// - The path tables, little- and big-endian, for the ISO 9660 tree and the Joliet tree: at most 8 bytes
//   plus a name of 64 UTF-16 characters per folder, each table rounded up to whole sectors.
// - Each folder's directory records in both trees: ".", ".." and one record per extent of each entry
//   (one extent per file up to 4 GiB - 1, otherwise one per 4 GiB - 2,048 bytes).  A record never
//   crosses a sector's end; an ISO 9660 record with its Rock Ridge fields is at most 255 bytes (8 per
//   sector), a Joliet one at most 33 + 128 bytes of name + 1 of padding (12 per sector).
constexpr std::uint64_t kFixedSectors = 64;
constexpr std::uint64_t kPathTableEntryBytes = 8 + 2 * 64;
constexpr std::uint64_t kIsoRecordsPerSector = kSectorBytes / 255;
constexpr std::uint64_t kJolietRecordsPerSector = kSectorBytes / (33 + 128 + 1);
constexpr std::uint64_t kLevel3ExtentBytes = 0xFFFFF800;

std::uint64_t DivideUp(std::uint64_t value, std::uint64_t by) {
    return value / by + (value % by != 0);
}

std::string Parent(const std::filesystem::path& path) {
    return PathText(path.parent_path());
}

}  // namespace

std::span<const Medium> Media() {
    return kMedia;
}

const Medium* FindMedium(std::string_view option) {
    for (const Medium& medium : kMedia)
        if (medium.option == option) return &medium;
    return nullptr;
}

const Medium* SmallestMediumFor(std::uint64_t sectors) {
    for (const Medium& medium : kMedia)
        if (sectors <= medium.sectors) return &medium;
    return nullptr;
}

std::uint64_t SectorsFor(std::uint64_t bytes) {
    return DivideUp(bytes, kSectorBytes);
}

std::uint64_t ExtentsFor(std::uint64_t bytes) {
    return bytes <= kLargestSingleExtentFile ? 1 : DivideUp(bytes, kLevel3ExtentBytes);
}

std::string GroupedNumber(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

namespace {

std::string SizeText(std::uint64_t sectors) {
    return GroupedNumber(sectors * kSectorBytes) + " bytes (" + GroupedNumber(sectors) + " sectors)";
}

}  // namespace

std::optional<std::string> FitProblem(const Medium& medium, std::uint64_t sectors) {
    if (sectors <= medium.sectors) return std::nullopt;
    return "the disc needs " + SizeText(sectors) + ", a " + std::string(medium.name) + " holds " +
           SizeText(medium.sectors);
}

std::string FitSummary(std::uint64_t sectors) {
    const Medium* medium = SmallestMediumFor(sectors);
    if (!medium) return SizeText(sectors) + ", more than a " + std::string(kMedia.back().name) + " holds";
    return SizeText(sectors) + ", fits on a " + std::string(medium->name);
}

std::uint64_t DiscFileSize(const DiscFile& file) {
    if (!file.source) return file.bytes.size();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(autorun::SystemPath(*file.source), error);
    if (error) throw DiscError(PathText(*file.source) + ": cannot read the file's size: " + error.message());
    return size;
}

std::uint64_t EstimateImageSectors(const DiscContents& contents) {
    std::map<std::string, std::uint64_t> records;  // per folder, by its path; "" is the root
    records[""] = 2;
    for (const std::filesystem::path& folder : contents.folders) {
        records[PathText(folder)] += 2;
        records[Parent(folder)] += 1;
    }
    std::uint64_t sectors = kFixedSectors;
    for (const DiscFile& file : contents.files) {
        const std::uint64_t size = DiscFileSize(file);
        records[Parent(file.path)] += ExtentsFor(size);
        sectors += SectorsFor(size);
    }
    sectors += 4 * SectorsFor(records.size() * kPathTableEntryBytes);
    for (const auto& folder : records)
        sectors +=
            DivideUp(folder.second, kIsoRecordsPerSector) + DivideUp(folder.second, kJolietRecordsPerSector);
    return sectors;
}

}  // namespace authoring
