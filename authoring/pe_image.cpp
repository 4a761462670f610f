#include "pe_image.h"

#include <algorithm>

namespace authoring {
namespace {

constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kPe32PlusMagic = 0x20b;

std::size_t SignatureOffset(const Bytes& image) {
    if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z')
        throw PeFormatError("not a Windows executable (no MZ header)");
    const std::uint32_t offset = ReadU32(image, 0x3c);
    RequireRange(image, offset, 4, "the PE signature");
    if (image[offset] != 'P' || image[offset + 1] != 'E' || image[offset + 2] || image[offset + 3])
        throw PeFormatError("not a Windows executable (no PE signature)");
    return offset;
}

Section ReadSection(const Bytes& image, std::size_t offset) {
    RequireRange(image, offset, kSectionHeaderSize, "the section table");
    Section section;
    const char* name = reinterpret_cast<const char*>(&image[offset]);
    section.name.assign(name, std::find(name, name + 8, '\0'));
    section.virtualSize = ReadU32(image, offset + 8);
    section.virtualAddress = ReadU32(image, offset + 12);
    section.rawSize = ReadU32(image, offset + 16);
    section.rawOffset = ReadU32(image, offset + 20);
    section.characteristics = ReadU32(image, offset + 36);
    if (section.rawSize > 0) RequireRange(image, section.rawOffset, section.rawSize, "a section's data");
    return section;
}

}  // namespace

int PeHeaders::SectionOf(std::uint32_t rva) const {
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (sections[i].Contains(rva)) return int(i);
    return -1;
}

std::uint32_t PeHeaders::EndOfSections() const {
    std::uint32_t end = 0;
    for (const Section& section : sections)
        if (section.rawSize > 0) end = std::max(end, section.rawOffset + section.rawSize);
    return end;
}

PeHeaders ReadPeHeaders(const Bytes& image) {
    try {
        PeHeaders pe;
        pe.coffHeader = SignatureOffset(image) + 4;
        pe.machine = ReadU16(image, pe.coffHeader);
        const std::uint16_t sectionCount = ReadU16(image, pe.coffHeader + 2);
        pe.symbolTableOffset = ReadU32(image, pe.coffHeader + 8);
        const std::uint16_t optionalSize = ReadU16(image, pe.coffHeader + 16);
        pe.optionalHeader = pe.coffHeader + 20;
        RequireRange(image, pe.optionalHeader, optionalSize, "the optional header");

        const std::uint16_t magic = ReadU16(image, pe.optionalHeader);
        if (magic != kPe32Magic && magic != kPe32PlusMagic)
            throw PeFormatError("unknown optional header kind " + std::to_string(magic));
        pe.pe32Plus = magic == kPe32PlusMagic;
        pe.sectionAlignment = ReadU32(image, pe.optionalHeader + 32);
        pe.fileAlignment = ReadU32(image, pe.optionalHeader + 36);
        pe.subsystem = ReadU16(image, pe.optionalHeader + 68);
        if (pe.fileAlignment == 0 || pe.sectionAlignment == 0 || (pe.fileAlignment & (pe.fileAlignment - 1)))
            throw PeFormatError("bad section or file alignment");

        const std::size_t countField = pe.optionalHeader + (pe.pe32Plus ? 108 : 92);
        const std::uint32_t directoryCount = ReadU32(image, countField);
        pe.directoryTable = countField + 4;
        if (pe.directoryTable + std::size_t(directoryCount) * 8 > pe.optionalHeader + optionalSize)
            throw PeFormatError("data directories run past the optional header");
        for (std::uint32_t i = 0; i < directoryCount; ++i)
            pe.directories.push_back(
                {ReadU32(image, pe.directoryTable + 8 * i), ReadU32(image, pe.directoryTable + 8 * i + 4)});
        pe.directories.resize(std::max<std::size_t>(pe.directories.size(), 16));

        pe.sectionTable = pe.optionalHeader + optionalSize;
        for (std::uint16_t i = 0; i < sectionCount; ++i)
            pe.sections.push_back(ReadSection(image, pe.sectionTable + kSectionHeaderSize * i));
        return pe;
    } catch (const TruncatedData& error) {
        throw PeFormatError(std::string("damaged executable: ") + error.what());
    }
}

}  // namespace authoring
