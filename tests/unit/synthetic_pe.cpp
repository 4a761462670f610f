#include "synthetic_pe.h"

#include "pe_checksum.h"

namespace authoring {
namespace {

constexpr std::size_t kPeOffset = 0x80;
constexpr std::uint32_t kCode = 0x60000020;
constexpr std::uint32_t kData = 0x40000040;
constexpr std::uint32_t kRelocations = 0x42000040;  // discardable, as linkers mark them

struct Placed {
    std::string name;
    Bytes data;
    std::uint32_t characteristics;
    std::uint32_t rva = 0;
    std::uint32_t raw = 0;
};

void PutName(Bytes& image, std::size_t at, const std::string& name) {
    for (std::size_t i = 0; i < name.size() && i < 8; ++i) image[at + i] = std::uint8_t(name[i]);
}

}  // namespace

Bytes RelocationBlock(std::uint32_t pageRva, const std::vector<std::uint16_t>& offsets) {
    Bytes block;
    AppendU32(block, pageRva);
    AppendU32(block, std::uint32_t(8 + 2 * offsets.size()));
    for (std::uint16_t offset : offsets) AppendU16(block, std::uint16_t(0x3000 | offset));
    return block;
}

Bytes MakeSyntheticPe(const SyntheticPeOptions& options) {
    std::vector<Placed> sections;
    sections.push_back({".text", Bytes(0x300, 0xcc), kCode});
    const std::uint32_t resourceRva = kSyntheticCodeRva + kSyntheticSectionAlignment;
    sections.push_back({".rsrc", BuildResourceSection(options.resources, resourceRva), kData});
    if (!options.relocations.empty()) sections.push_back({".reloc", options.relocations, kRelocations});
    for (const SyntheticSection& extra : options.extraTail)
        sections.push_back({extra.name, extra.data, extra.characteristics});

    const std::size_t optionalSize = options.pe32Plus ? 240 : 224;
    const std::size_t sectionTable = kPeOffset + 24 + optionalSize;
    std::uint32_t rva = kSyntheticCodeRva;
    std::uint32_t raw = AlignUp(std::uint32_t(sectionTable + 40 * sections.size()), kSyntheticFileAlignment);
    const std::uint32_t headersSize = raw;
    for (Placed& section : sections) {
        section.rva = rva;
        section.raw = raw;
        rva = AlignUp(rva + std::uint32_t(section.data.size()), kSyntheticSectionAlignment);
        raw += AlignUp(std::uint32_t(section.data.size()), kSyntheticFileAlignment);
    }

    Bytes image(raw, 0);
    image[0] = 'M';
    image[1] = 'Z';
    WriteU32(image, 0x3c, kPeOffset);
    image[kPeOffset] = 'P';
    image[kPeOffset + 1] = 'E';
    const std::size_t coff = kPeOffset + 4;
    WriteU16(image, coff, options.pe32Plus ? 0x8664 : 0x14c);
    WriteU16(image, coff + 2, std::uint16_t(sections.size()));
    WriteU16(image, coff + 16, std::uint16_t(optionalSize));
    WriteU16(image, coff + 18, 0x0102);
    const std::size_t opt = coff + 20;
    WriteU16(image, opt, options.pe32Plus ? 0x20b : 0x10b);
    WriteU32(image, opt + 32, kSyntheticSectionAlignment);
    WriteU32(image, opt + 36, kSyntheticFileAlignment);
    WriteU32(image, opt + 56, rva);
    WriteU32(image, opt + 60, headersSize);
    WriteU16(image, opt + 68, 2);
    const std::size_t directories = opt + (options.pe32Plus ? 112 : 96);
    WriteU32(image, directories - 4, 16);
    WriteU32(image, directories + 8 * kResourceDirectory, sections[1].rva);
    WriteU32(image, directories + 8 * kResourceDirectory + 4, std::uint32_t(sections[1].data.size()));
    if (!options.relocations.empty()) {
        WriteU32(image, directories + 8 * kBaseRelocationDirectory, sections[2].rva);
        WriteU32(image, directories + 8 * kBaseRelocationDirectory + 4,
                 std::uint32_t(sections[2].data.size()));
    }
    if (options.securitySize) {
        WriteU32(image, directories + 8 * kSecurityDirectory, raw);
        WriteU32(image, directories + 8 * kSecurityDirectory + 4, options.securitySize);
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const Placed& section = sections[i];
        const std::size_t at = sectionTable + 40 * i;
        PutName(image, at, section.name);
        WriteU32(image, at + 8, std::uint32_t(section.data.size()));
        WriteU32(image, at + 12, section.rva);
        WriteU32(image, at + 16, AlignUp(std::uint32_t(section.data.size()), kSyntheticFileAlignment));
        WriteU32(image, at + 20, section.raw);
        WriteU32(image, at + 36, section.characteristics);
        std::copy(section.data.begin(), section.data.end(), image.data() + section.raw);
    }
    if (options.securitySize) image.resize(image.size() + options.securitySize, 0);
    WriteU32(image, opt + 64, PeChecksum(image, opt + 64));
    return image;
}

}  // namespace authoring
