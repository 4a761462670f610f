#include "pe_resources.h"

#include <algorithm>
#include <cctype>

#include "byte_order.h"

namespace autorun {
namespace {

constexpr std::uint32_t kNameIsString = 0x80000000;
constexpr std::uint32_t kEntryIsDirectory = 0x80000000;
constexpr std::size_t kResourceTableIndex = 2;

// Reads that refuse to leave the image.
class ImageReader {
   public:
    explicit ImageReader(const std::vector<std::uint8_t>& image) : image_(image) {}

    bool Has(std::size_t offset, std::size_t size) const { return HasRange(image_.size(), offset, size); }
    std::optional<std::uint16_t> U16(std::size_t offset) const { return ReadLittleU16(image_, offset); }
    std::optional<std::uint32_t> U32(std::size_t offset) const { return ReadLittleU32(image_, offset); }
    const std::vector<std::uint8_t>& Bytes() const { return image_; }

   private:
    const std::vector<std::uint8_t>& image_;
};

struct Section {
    std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

// Where the resource directory lies: its file offset, and the sections that map the addresses
// inside it (those addresses are relative to the image, not to the file).
struct ResourceTable {
    std::size_t fileOffset;
    std::vector<Section> sections;
};

std::optional<std::size_t> FileOffsetOf(const std::vector<Section>& sections, std::uint32_t rva) {
    for (const auto& section : sections) {
        const std::uint32_t extent = section.virtualSize ? section.virtualSize : section.rawSize;
        if (rva >= section.virtualAddress && rva - section.virtualAddress < std::min(extent, section.rawSize))
            return std::size_t{section.rawOffset} + (rva - section.virtualAddress);
    }
    return std::nullopt;
}

std::optional<ResourceTable> LocateResourceTable(const ImageReader& image) {
    const auto mz = image.U16(0);
    const auto peOffset = image.U32(0x3C);
    if (!mz || *mz != 0x5A4D || !peOffset) return std::nullopt;
    const auto signature = image.U32(*peOffset);
    if (!signature || *signature != 0x00004550) return std::nullopt;
    const std::size_t fileHeader = std::size_t{*peOffset} + 4;
    const auto sectionCount = image.U16(fileHeader + 2), optionalSize = image.U16(fileHeader + 16);
    const std::size_t optional = fileHeader + 20;
    const auto magic = image.U16(optional);
    if (!sectionCount || !optionalSize || !magic) return std::nullopt;
    // The data directories follow the fixed fields, which are 16 bytes longer in PE32+.
    const std::size_t directories = optional + (*magic == 0x20B ? 112 : *magic == 0x10B ? 96 : 0);
    const auto directoryCount = image.U32(directories - 4);
    if (directories == optional || !directoryCount || *directoryCount <= kResourceTableIndex)
        return std::nullopt;
    const auto resourceRva = image.U32(directories + 8 * kResourceTableIndex);
    if (!resourceRva || *resourceRva == 0) return std::nullopt;

    ResourceTable table{0, {}};
    const std::size_t sectionTable = optional + *optionalSize;
    for (std::size_t i = 0; i < *sectionCount; ++i) {
        const std::size_t header = sectionTable + 40 * i;
        const auto virtualSize = image.U32(header + 8), virtualAddress = image.U32(header + 12);
        const auto rawSize = image.U32(header + 16), rawOffset = image.U32(header + 20);
        if (!virtualSize || !virtualAddress || !rawSize || !rawOffset) return std::nullopt;
        table.sections.push_back({*virtualAddress, *virtualSize, *rawOffset, *rawSize});
    }
    const auto offset = FileOffsetOf(table.sections, *resourceRva);
    if (!offset) return std::nullopt;
    table.fileOffset = *offset;
    return table;
}

// A name in the directory: a counted UTF-16 string at an offset from the directory's start.
bool NameMatches(const ImageReader& image, std::size_t nameOffset, const std::string& name) {
    const auto length = image.U16(nameOffset);
    if (!length || *length != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto unit = image.U16(nameOffset + 2 + 2 * i);
        if (!unit || *unit > 0x7F) return false;
        if (std::toupper(static_cast<unsigned char>(*unit)) !=
            std::toupper(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

enum class EntryKind { kId, kName, kFirst };

// Offset (from the directory's start) that the matching entry of the directory at
// `directoryOffset` points to, with the directory flag still set.
std::optional<std::uint32_t> FindEntry(const ImageReader& image, std::size_t root,
                                       std::size_t directoryOffset, EntryKind kind, std::uint16_t id,
                                       const std::string& name) {
    const std::size_t directory = root + directoryOffset;
    const auto namedCount = image.U16(directory + 12), idCount = image.U16(directory + 14);
    if (!namedCount || !idCount) return std::nullopt;
    for (std::size_t i = 0; i < std::size_t{*namedCount} + *idCount; ++i) {
        const std::size_t entry = directory + 16 + 8 * i;
        const auto entryName = image.U32(entry), target = image.U32(entry + 4);
        if (!entryName || !target) return std::nullopt;
        const bool named = (*entryName & kNameIsString) != 0;
        const bool matches = kind == EntryKind::kFirst ||
                             (kind == EntryKind::kId && !named && *entryName == id) ||
                             (kind == EntryKind::kName && named &&
                              NameMatches(image, root + (*entryName & ~kNameIsString), name));
        if (matches) return *target;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> FindPeResource(const std::vector<std::uint8_t>& bytes,
                                                        std::uint16_t type, const std::string& name) {
    const ImageReader image(bytes);
    const auto table = LocateResourceTable(image);
    if (!table) return std::nullopt;
    const std::size_t root = table->fileOffset;
    // Three levels: type, name, language; the first two lead to directories, the last to data.
    const auto names = FindEntry(image, root, 0, EntryKind::kId, type, name);
    if (!names || !(*names & kEntryIsDirectory)) return std::nullopt;
    const auto languages = FindEntry(image, root, *names & ~kEntryIsDirectory, EntryKind::kName, 0, name);
    if (!languages || !(*languages & kEntryIsDirectory)) return std::nullopt;
    const auto data = FindEntry(image, root, *languages & ~kEntryIsDirectory, EntryKind::kFirst, 0, name);
    if (!data || (*data & kEntryIsDirectory)) return std::nullopt;
    const auto dataRva = image.U32(root + *data), dataSize = image.U32(root + *data + 4);
    if (!dataRva || !dataSize) return std::nullopt;
    const auto dataOffset = FileOffsetOf(table->sections, *dataRva);
    if (!dataOffset || !image.Has(*dataOffset, *dataSize)) return std::nullopt;
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(*dataOffset);
    return std::vector<std::uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(*dataSize));
}

}  // namespace autorun
