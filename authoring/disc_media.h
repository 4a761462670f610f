// Which recordable disc an image fits on, and how many sectors a folder will take once it is one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "disc_contents.h"

namespace authoring {

constexpr std::uint64_t kSectorBytes = 2048;

// The largest file that ISO 9660 records in one extent; a larger one needs level 3, which stores it in
// several extents that Windows adds up and macOS and FreeBSD don't read.
constexpr std::uint64_t kLargestSingleExtentFile = 0xFFFFFFFF;

struct Medium {
    std::string_view option;  // as --media takes it
    std::string_view name;
    std::uint64_t sectors;  // of 2,048 bytes, what a blank disc of the kind holds
};

// Smallest first.
std::span<const Medium> Media();

// The medium `--media` names, or nothing.
const Medium* FindMedium(std::string_view option);

// The smallest medium that holds `sectors`, or nothing when none does.
const Medium* SmallestMediumFor(std::uint64_t sectors);

std::uint64_t SectorsFor(std::uint64_t bytes);

// How many extents an image holds a file of `bytes` in: one up to kLargestSingleExtentFile, otherwise
// as many as level 3's extents of 4 GiB - 2,048 bytes take.
std::uint64_t ExtentsFor(std::uint64_t bytes);

// "4,700,000,000" for 4700000000.
std::string GroupedNumber(std::uint64_t number);

// What `sectors` need and `medium` holds, when they don't fit; nothing when they do.
std::optional<std::string> FitProblem(const Medium& medium, std::uint64_t sectors);

// The size and the smallest medium that holds it, e.g. "5,242,880 bytes (2,560 sectors), fits on a
// CD-R 700 MB".
std::string FitSummary(std::uint64_t sectors);

// The size of a file that is to go onto the disc.  Throws DiscError.
std::uint64_t DiscFileSize(const DiscFile& file);

// What the contents will take as an ISO 9660 image with Joliet and Rock Ridge names: exact for the
// files' data, a generous estimate for the file system's own sectors.  Throws DiscError.
std::uint64_t EstimateImageSectors(const DiscContents& contents);

}  // namespace authoring
