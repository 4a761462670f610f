#include "pe_resource_tree.h"

#include <algorithm>
#include <set>

namespace autorun {
namespace {

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

std::u16string UpperText(const std::u16string& text) {
    std::u16string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return upper;
}

// The resource section from the directory's start on, as the loader maps it: `memorySize` bytes, of
// which the first `fileSize` come from the file at `fileOffset` and the rest are zeros.
struct SectionView {
    std::uint32_t rva;
    std::size_t fileOffset;
    std::uint32_t fileSize;
    std::uint32_t memorySize;
};

class TreeReader {
   public:
    TreeReader(const std::vector<std::uint8_t>& image, const SectionView& view)
        : image_(image), view_(view) {}

    // False, with problem() set, when the tree is damaged.
    bool ReadTable(std::uint32_t offset, int level, ResourceKey path[2], std::vector<PeResource>& out) {
        if (!Has(offset, kDirectoryHeaderSize)) return false;
        // Linkers give every table one parent.  Tables shared by many entries would multiply the
        // resources (a few kilobytes could stand for millions of them) and, shared across levels,
        // make no tree at all.
        if (!tables_.insert(offset).second) return Fail("a directory table is reached twice");
        const std::size_t count = std::size_t(U16(offset + 12)) + U16(offset + 14);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t entry =
                std::uint32_t(offset + kDirectoryHeaderSize + i * kDirectoryEntrySize);
            if (!Has(entry, kDirectoryEntrySize)) return false;
            ResourceKey key;
            if (!ReadKey(U32(entry), key)) return false;
            const std::uint32_t target = U32(entry + 4);
            const bool isTable = target & kResourceHighBit;
            if (isTable != (level < 2)) return Fail("unexpected nesting");
            if (level < 2) {
                path[level] = key;
                if (!ReadTable(target & ~kResourceHighBit, level + 1, path, out)) return false;
            } else {
                if (!key.isNumber) return Fail("a language given as a name");
                out.push_back({path[0], path[1], key.number, 0, {}});
                if (!ReadData(target, out.back())) return false;
            }
        }
        return true;
    }

    const std::string& problem() const { return problem_; }

   private:
    bool Fail(const char* what) {
        problem_ = std::string("damaged resource tree: ") + what;
        return false;
    }

    // Whether `size` bytes at `offset` from the directory's start lie inside the section.
    bool Has(std::uint64_t offset, std::uint64_t size) {
        return offset + size <= view_.memorySize || Fail("an offset points outside the section");
    }

    std::uint8_t Byte(std::uint64_t offset) const {
        // Within the image: the headers' reader refuses a section whose file bytes lie beyond it.
        return offset < view_.fileSize ? image_[static_cast<std::size_t>(view_.fileOffset + offset)] : 0;
    }
    std::uint16_t U16(std::uint64_t offset) const {
        return std::uint16_t(Byte(offset) | Byte(offset + 1) << 8);
    }
    std::uint32_t U32(std::uint64_t offset) const {
        return U16(offset) | std::uint32_t(U16(offset + 2)) << 16;
    }

    bool ReadKey(std::uint32_t field, ResourceKey& key) {
        if (!(field & kResourceHighBit)) {
            if (field > 0xffff) return Fail("an identifier above 65535");
            key = ResourceKey::Number(std::uint16_t(field));
            return true;
        }
        const std::uint32_t at = field & ~kResourceHighBit;
        if (!Has(at, 2)) return false;
        const std::uint16_t length = U16(at);
        if (!Has(std::uint64_t{at} + 2, std::size_t(length) * 2)) return false;
        key.isNumber = false;
        for (std::uint16_t i = 0; i < length; ++i) key.text.push_back(char16_t(U16(at + 2 + 2 * i)));
        return true;
    }

    bool ReadData(std::uint32_t offset, PeResource& resource) {
        if (!Has(offset, kDataEntrySize)) return false;
        const std::uint32_t rva = U32(offset);
        const std::uint32_t size = U32(offset + 4);
        resource.codePage = U32(offset + 8);
        if (rva < view_.rva) return Fail("data outside the resource section");
        const std::uint32_t at = rva - view_.rva;
        if (!Has(at, size)) return false;
        // Each resource's data has bytes of its own, so together they fit the section; overlapping
        // data would multiply what is copied just as shared tables would.  Data in the zero-filled
        // tail reads as zeros, as it does for the loader, but no more of them than the file is long:
        // a few header bytes must not ask for gigabytes.
        dataBytes_ += size;
        if (dataBytes_ > view_.memorySize) return Fail("the resources' data overlap");
        const std::uint32_t fromFile = at < view_.fileSize ? std::min(size, view_.fileSize - at) : 0;
        zeroBytes_ += size - fromFile;
        if (zeroBytes_ > image_.size()) return Fail("more zero-filled data than the file holds");
        if (fromFile > 0) {
            const std::uint8_t* begin = image_.data() + static_cast<std::size_t>(view_.fileOffset + at);
            resource.data.assign(begin, begin + fromFile);
        }
        resource.data.resize(size, 0);
        return true;
    }

    const std::vector<std::uint8_t>& image_;
    const SectionView view_;
    std::set<std::uint32_t> tables_;
    std::uint64_t dataBytes_ = 0;
    std::uint64_t zeroBytes_ = 0;
    std::string problem_;
};

}  // namespace

ResourceKey ResourceKey::Text(const std::string& ascii) {
    ResourceKey key;
    key.isNumber = false;
    for (char c : ascii) key.text.push_back(Upper(char16_t(static_cast<unsigned char>(c))));
    return key;
}

bool ResourceKey::operator==(const ResourceKey& other) const {
    return isNumber == other.isNumber &&
           (isNumber ? number == other.number : UpperText(text) == UpperText(other.text));
}

std::string ResourceKey::Describe() const {
    if (isNumber) return std::to_string(number);
    std::string ascii;
    for (char16_t c : text) ascii.push_back(c < 0x80 ? char(c) : '?');
    return '"' + ascii + '"';
}

bool SortsBefore(const ResourceKey& a, const ResourceKey& b) {
    if (a.isNumber != b.isNumber) return !a.isNumber;
    if (a.isNumber) return a.number < b.number;
    return UpperText(a.text) < UpperText(b.text);
}

PeResult<std::vector<PeResource>> ParsePeResources(const std::vector<std::uint8_t>& image,
                                                   const PeHeaders& pe) {
    using Result = PeResult<std::vector<PeResource>>;
    const PeDataDirectory directory = pe.directories.at(kResourceDirectory);
    std::vector<PeResource> resources;
    if (directory.rva == 0) return resources;
    const int index = pe.SectionOf(directory.rva);
    if (index < 0) return Result::Failure("the resource directory lies in no section");
    const PeSection& section = pe.sections[std::size_t(index)];
    // The tree is read relative to the directory's start, which is normally the section's.
    const std::uint32_t skip = directory.rva - section.virtualAddress;
    if (skip > section.rawSize)
        return Result::Failure("the resource directory lies beyond its section's data");
    const SectionView view{directory.rva, std::size_t{section.rawOffset} + skip,
                           std::min(section.rawSize, section.MemorySize()) - skip,
                           section.MemorySize() - skip};
    ResourceKey path[2];
    TreeReader reader(image, view);
    if (!reader.ReadTable(0, 0, path, resources)) return Result::Failure(reader.problem());
    return resources;
}

}  // namespace autorun
