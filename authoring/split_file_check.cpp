#include "split_file_check.h"

#include "disc_media.h"
#include "text_encoding.h"

namespace authoring {
namespace {

// What is wrong with one tree's record of the file, or "".
std::string ExtentProblem(const StoredFile& file, std::uint64_t imageSectors) {
    std::uint64_t total = 0;
    for (std::size_t at = 0; at < file.extents.size(); ++at) {
        const Extent& extent = file.extents[at];
        // A reader goes on with the next extent at the next byte, so all but the last end with a sector.
        if (at + 1 < file.extents.size() && extent.bytes % kSectorBytes != 0)
            return "its extent " + std::to_string(at + 1) + " of " + std::to_string(file.extents.size()) +
                   " ends inside a sector (" + GroupedNumber(extent.bytes) + " bytes)";
        if (imageSectors && extent.block + SectorsFor(extent.bytes) > imageSectors)
            return "its extent " + std::to_string(at + 1) + " runs past the image's end (sector " +
                   GroupedNumber(extent.block + SectorsFor(extent.bytes)) + " of " +
                   GroupedNumber(imageSectors) + ")";
        total += extent.bytes;
    }
    if (total != file.size)
        return "its extents add up to " + GroupedNumber(total) + " bytes, its size is " +
               GroupedNumber(file.size);
    return "";
}

}  // namespace

std::string SplitFileWarning(const std::string& path, std::uint64_t size, std::size_t extents) {
    return path + ": " + GroupedNumber(size) + " bytes, stored in " + std::to_string(extents) +
           " extents (ISO 9660 level 3): Windows reads it, macOS and FreeBSD don't";
}

void CheckSplitFiles(const DiscReader& disc, std::vector<Finding>& findings) {
    for (const SplitFile& file : disc.SplitFiles()) {
        const std::string path = PathText(file.path);
        findings.push_back(
            {Finding::kWarning, SplitFileWarning(path, file.joliet.size, file.joliet.extents.size())});
        std::string problem = ExtentProblem(file.joliet, disc.ImageSectors());
        if (problem.empty() && file.iso9660) {
            problem = ExtentProblem(*file.iso9660, disc.ImageSectors());
            if (problem.empty() &&
                (file.iso9660->size != file.joliet.size || file.iso9660->extents != file.joliet.extents))
                problem = "its Joliet and ISO 9660 records differ (" + GroupedNumber(file.joliet.size) +
                          " and " + GroupedNumber(file.iso9660->size) + " bytes)";
            else if (!problem.empty())
                problem = "in the ISO 9660 tree, " + problem;
        }
        if (!problem.empty()) findings.push_back({Finding::kProblem, path + ": " + problem});
    }
}

}  // namespace authoring
