#include "resource_section_rewrite.h"

#include <algorithm>

#include "pe_checksum.h"
#include "pe_image.h"

namespace authoring {
namespace {

constexpr std::uint32_t kRelocationBlockHeader = 8;

std::size_t ResourceSectionIndex(const PeHeaders& pe) {
    const std::uint32_t rva = pe.directories[kResourceDirectory].rva;
    const int index = rva == 0 ? -1 : pe.SectionOf(rva);
    if (index < 0) throw PeFormatError("the executable has no resource section");
    if (pe.sections[std::size_t(index)].virtualAddress != rva)
        throw PeFormatError("the resource directory does not start its section");
    return std::size_t(index);
}

// The sections must follow each other in memory and in the file in the order of the table, or moving
// the ones after the resources could make them overlap.
void RequireOrderedSections(const PeHeaders& pe) {
    for (std::size_t i = 1; i < pe.sections.size(); ++i) {
        const Section& before = pe.sections[i - 1];
        const Section& after = pe.sections[i];
        if (after.virtualAddress < before.virtualAddress ||
            (after.rawSize > 0 && before.rawSize > 0 && after.rawOffset < before.rawOffset))
            throw PeFormatError("the sections are not in address order");
    }
}

// Nothing but the base relocations' directory may point at or behind the resource section: code and
// data addresses there would go stale when those sections move.
void RequireMovableTail(const PeHeaders& pe, std::size_t resourceIndex) {
    if (pe.directories[kSecurityDirectory].size != 0)
        throw PeFormatError("the executable is signed; brand the unsigned launcher and sign the result");
    const std::uint32_t tailStart = pe.sections[resourceIndex].virtualAddress;
    for (std::size_t i = 0; i < pe.directories.size(); ++i) {
        if (i == kResourceDirectory || i == kBaseRelocationDirectory || i == kSecurityDirectory) continue;
        const DataDirectory& directory = pe.directories[i];
        if (directory.rva != 0 && directory.rva >= tailStart)
            throw PeFormatError("data directory " + std::to_string(i) +
                                " lies behind the resources, where sections have to move");
    }
    const std::uint32_t relocations = pe.directories[kBaseRelocationDirectory].rva;
    for (std::size_t i = resourceIndex + 1; i < pe.sections.size(); ++i) {
        const Section& section = pe.sections[i];
        const bool holdsRelocations = relocations != 0 && section.Contains(relocations);
        if (!holdsRelocations && !(section.characteristics & kSectionDiscardable))
            throw PeFormatError("section " + section.name +
                                " follows the resources and may be referred to by address");
    }
}

// A relocation that patches an address at or behind the resources would patch moved bytes.
void RequireNoRelocationsInto(const Bytes& image, const PeHeaders& pe, std::uint32_t tailStart) {
    const DataDirectory directory = pe.directories[kBaseRelocationDirectory];
    if (directory.rva == 0 || directory.size == 0) return;
    const int index = pe.SectionOf(directory.rva);
    if (index < 0) throw PeFormatError("the base relocations lie in no section");
    const Section& section = pe.sections[std::size_t(index)];
    std::size_t at = section.rawOffset + (directory.rva - section.virtualAddress);
    const std::size_t end = at + directory.size;
    RequireRange(image, at, directory.size, "the base relocations");
    while (at + kRelocationBlockHeader <= end) {
        const std::uint32_t page = ReadU32(image, at);
        const std::uint32_t blockSize = ReadU32(image, at + 4);
        if (blockSize < kRelocationBlockHeader) break;
        // Checked before any addition: on 32-bit builds at + blockSize could wrap and loop for ever.
        if (blockSize > end - at)
            throw PeFormatError("damaged base relocations: a block runs past their table");
        for (std::size_t entry = at + kRelocationBlockHeader; entry + 2 <= at + blockSize; entry += 2) {
            const std::uint16_t value = ReadU16(image, entry);
            const bool padding = (value >> 12) == 0;
            if (!padding && page + (value & 0xfffu) >= tailStart)
                throw PeFormatError("a base relocation patches the resource section or one behind it");
        }
        at += blockSize;
    }
}

void WriteSectionHeader(Bytes& image, const PeHeaders& pe, std::size_t index, const Section& section) {
    const std::size_t at = pe.sectionTable + index * kSectionHeaderSize;
    WriteU32(image, at + 8, section.virtualSize);
    WriteU32(image, at + 12, section.virtualAddress);
    WriteU32(image, at + 16, section.rawSize);
    WriteU32(image, at + 20, section.rawOffset);
}

void WriteDirectory(Bytes& image, const PeHeaders& pe, unsigned index, DataDirectory directory) {
    WriteU32(image, pe.directoryTable + 8 * index, directory.rva);
    WriteU32(image, pe.directoryTable + 8 * index + 4, directory.size);
}

// The COFF symbol table of an unstripped image lies behind the sections; it is dropped, as a stripped
// launcher has none.  Any other data behind the sections is unknown and kept out of reach by refusing.
void RequireNoUnknownTrailer(const Bytes& image, const PeHeaders& pe) {
    if (pe.symbolTableOffset == 0 && image.size() > AlignUp(pe.EndOfSections(), pe.fileAlignment))
        throw PeFormatError("the executable carries data behind its sections");
}

Bytes Rewrite(const Bytes& image, const std::vector<Resource>& resources) {
    const PeHeaders pe = ReadPeHeaders(image);
    RequireOrderedSections(pe);
    const std::size_t resourceIndex = ResourceSectionIndex(pe);
    RequireMovableTail(pe, resourceIndex);
    const Section& oldResources = pe.sections[resourceIndex];
    RequireNoRelocationsInto(image, pe, oldResources.virtualAddress);
    RequireNoUnknownTrailer(image, pe);

    const Bytes tree = BuildResourceSection(resources, oldResources.virtualAddress);
    Bytes out(image.data(), image.data() + oldResources.rawOffset);
    out.insert(out.end(), tree.begin(), tree.end());
    out.resize(AlignUp(std::uint32_t(out.size()), pe.fileAlignment), 0);

    Section placed = oldResources;
    placed.virtualSize = std::uint32_t(tree.size());
    placed.rawSize = std::uint32_t(out.size()) - placed.rawOffset;
    WriteSectionHeader(out, pe, resourceIndex, placed);
    WriteDirectory(out, pe, kResourceDirectory, {placed.virtualAddress, placed.virtualSize});
    const std::int64_t rawGrowth = std::int64_t(placed.rawSize) - oldResources.rawSize;

    std::uint32_t nextRva = AlignUp(placed.virtualAddress + placed.virtualSize, pe.sectionAlignment);
    DataDirectory relocations = pe.directories[kBaseRelocationDirectory];
    bool relocationsMoved = false;
    for (std::size_t i = resourceIndex + 1; i < pe.sections.size(); ++i) {
        const Section& old = pe.sections[i];
        Section moved = old;
        moved.virtualAddress = nextRva;
        moved.rawOffset = old.rawSize > 0 ? std::uint32_t(out.size()) : 0;
        out.insert(out.end(), image.data() + old.rawOffset, image.data() + old.rawOffset + old.rawSize);
        WriteSectionHeader(out, pe, i, moved);
        if (!relocationsMoved && relocations.rva != 0 && old.Contains(relocations.rva)) {
            relocations.rva = relocations.rva - old.virtualAddress + moved.virtualAddress;
            relocationsMoved = true;
        }
        nextRva =
            AlignUp(moved.virtualAddress + std::max(moved.virtualSize, moved.rawSize), pe.sectionAlignment);
    }
    WriteDirectory(out, pe, kBaseRelocationDirectory, relocations);
    if (pe.symbolTableOffset != 0) {
        WriteU32(out, pe.coffHeader + 8, 0);
        WriteU32(out, pe.coffHeader + 12, 0);
    }

    WriteU32(out, pe.optionalHeader + kSizeOfImageField, nextRva);
    const std::uint32_t initialized = ReadU32(out, pe.optionalHeader + kSizeOfInitializedDataField);
    WriteU32(out, pe.optionalHeader + kSizeOfInitializedDataField, std::uint32_t(initialized + rawGrowth));
    WriteU32(out, pe.optionalHeader + kCheckSumField, PeChecksum(out, pe.optionalHeader + kCheckSumField));
    return out;
}

}  // namespace

Bytes ReplaceResources(const Bytes& image, const std::vector<Resource>& resources) {
    try {
        return Rewrite(image, resources);
    } catch (const TruncatedData& error) {
        // A table or header that lies beyond the file: the tool names the file, and this says why.
        throw PeFormatError(std::string("damaged executable: ") + error.what());
    }
}

}  // namespace authoring
