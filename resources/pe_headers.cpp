#include "pe_headers.h"

#include <algorithm>

#include "byte_order.h"

namespace autorun {
namespace {

constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kPe32PlusMagic = 0x20b;

// Field reads that stay inside the image.  The first one that would leave it is remembered and every
// later read gives 0, so that a caller checks once per step instead of after every field.
class HeaderFields {
   public:
    explicit HeaderFields(const std::vector<std::uint8_t>& image) : image_(image) {}

    std::uint16_t U16(std::size_t offset) {
        const auto value = ReadLittleU16(image_, offset);
        return value ? *value : Miss();
    }
    std::uint32_t U32(std::size_t offset) {
        const auto value = ReadLittleU32(image_, offset);
        return value ? *value : Miss();
    }
    void Require(std::size_t offset, std::size_t size, const char* what) {
        if (!HasRange(image_.size(), offset, size)) Miss(what);
    }

    bool Failed() const { return missing_ != nullptr; }
    std::string Problem() const {
        return std::string("damaged executable: ") + missing_ + " lies beyond the end of the data";
    }

   private:
    std::uint16_t Miss(const char* what = "a field") {
        if (!missing_) missing_ = what;
        return 0;
    }

    const std::vector<std::uint8_t>& image_;
    const char* missing_ = nullptr;
};

PeSection ReadSection(HeaderFields& fields, const std::vector<std::uint8_t>& image, std::size_t offset) {
    fields.Require(offset, kSectionHeaderSize, "the section table");
    if (fields.Failed()) return {};
    PeSection section;
    const char* name = reinterpret_cast<const char*>(&image[offset]);
    section.name.assign(name, std::find(name, name + 8, '\0'));
    section.virtualSize = fields.U32(offset + 8);
    section.virtualAddress = fields.U32(offset + 12);
    section.rawSize = fields.U32(offset + 16);
    section.rawOffset = fields.U32(offset + 20);
    section.characteristics = fields.U32(offset + 36);
    if (section.rawSize > 0) fields.Require(section.rawOffset, section.rawSize, "a section's data");
    return section;
}

using Result = PeResult<PeHeaders>;

// The optional header's fields up to the data directories' count; returns that count's offset.
std::optional<Result> ReadOptionalHeader(HeaderFields& fields, PeHeaders& pe, std::uint16_t optionalSize) {
    fields.Require(pe.optionalHeader, optionalSize, "the optional header");
    const std::uint16_t magic = fields.U16(pe.optionalHeader);
    if (fields.Failed()) return Result::Failure(fields.Problem());
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return Result::Failure("unknown optional header kind " + std::to_string(magic));
    pe.pe32Plus = magic == kPe32PlusMagic;
    pe.sectionAlignment = fields.U32(pe.optionalHeader + 32);
    pe.fileAlignment = fields.U32(pe.optionalHeader + 36);
    pe.subsystem = fields.U16(pe.optionalHeader + 68);
    if (fields.Failed()) return Result::Failure(fields.Problem());
    if (pe.fileAlignment == 0 || pe.sectionAlignment == 0 || (pe.fileAlignment & (pe.fileAlignment - 1)))
        return Result::Failure("bad section or file alignment");
    return std::nullopt;
}

}  // namespace

int PeHeaders::SectionOf(std::uint32_t rva) const {
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (sections[i].Contains(rva)) return int(i);
    return -1;
}

std::uint32_t PeHeaders::EndOfSections() const {
    std::uint32_t end = 0;
    for (const PeSection& section : sections)
        if (section.rawSize > 0) end = std::max(end, section.rawOffset + section.rawSize);
    return end;
}

PeResult<PeHeaders> ParsePeHeaders(const std::vector<std::uint8_t>& image) {
    if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z')
        return Result::Failure("not a Windows executable (no MZ header)");
    HeaderFields fields(image);
    const std::uint32_t signature = LoadLittleU32(&image[0x3c]);
    fields.Require(signature, 4, "the PE signature");
    if (fields.Failed()) return Result::Failure(fields.Problem());
    if (LoadLittleU32(&image[signature]) != 0x00004550)
        return Result::Failure("not a Windows executable (no PE signature)");

    PeHeaders pe;
    pe.coffHeader = std::size_t{signature} + 4;
    pe.machine = fields.U16(pe.coffHeader);
    const std::uint16_t sectionCount = fields.U16(pe.coffHeader + 2);
    pe.symbolTableOffset = fields.U32(pe.coffHeader + 8);
    const std::uint16_t optionalSize = fields.U16(pe.coffHeader + 16);
    if (fields.Failed()) return Result::Failure(fields.Problem());
    pe.optionalHeader = pe.coffHeader + 20;
    if (auto failure = ReadOptionalHeader(fields, pe, optionalSize)) return std::move(*failure);

    const std::size_t countField = pe.optionalHeader + (pe.pe32Plus ? 108 : 92);
    const std::uint32_t directoryCount = fields.U32(countField);
    if (fields.Failed()) return Result::Failure(fields.Problem());
    pe.directoryTable = countField + 4;
    // In 64 bits: on a 32-bit build the count times 8 could wrap around and pass.
    if (std::uint64_t{pe.directoryTable} + std::uint64_t{directoryCount} * 8 >
        std::uint64_t{pe.optionalHeader} + optionalSize)
        return Result::Failure("data directories run past the optional header");
    for (std::uint32_t i = 0; i < directoryCount; ++i)
        pe.directories.push_back(
            {fields.U32(pe.directoryTable + 8 * i), fields.U32(pe.directoryTable + 8 * i + 4)});
    pe.directories.resize(std::max<std::size_t>(pe.directories.size(), 16));

    pe.sectionTable = pe.optionalHeader + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount && !fields.Failed(); ++i)
        pe.sections.push_back(ReadSection(fields, image, pe.sectionTable + kSectionHeaderSize * i));
    if (fields.Failed()) return Result::Failure(fields.Problem());
    return pe;
}

}  // namespace autorun
