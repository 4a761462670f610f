// The resources of a Windows executable as a flat list, read from the directory tree of its resource
// section the way Windows looks them up.  Plain C++ and non-throwing, like pe_image.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pe_headers.h"

namespace autorun {

// The tree's layout: tables of a 16-byte header and 8-byte entries, 16-byte data entries.  The high
// bit of an entry's first field marks a name (else a number), of its second a table (else data).
constexpr std::uint32_t kResourceHighBit = 0x80000000;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;

// A type, name or language: a number or a string.
struct ResourceKey {
    bool isNumber = true;
    std::uint16_t number = 0;
    std::u16string text;

    static ResourceKey Number(std::uint16_t value) { return {true, value, {}}; }
    static ResourceKey Text(const std::string& ascii);  // resource names are stored in upper case
    bool operator==(const ResourceKey& other) const;    // names without regard to ASCII case
    std::string Describe() const;
};

// The directory order of the format: names before numbers, names compared in upper case code unit by
// code unit, numbers ascending.  The loader searches the tables by bisection, so order matters.
bool SortsBefore(const ResourceKey& a, const ResourceKey& b);

struct PeResource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::vector<std::uint8_t> data;
};

// Every resource of the image in the order of its tree, or why the tree is damaged.  An image without
// a resource directory has none.
PeResult<std::vector<PeResource>> ParsePeResources(const std::vector<std::uint8_t>& image,
                                                   const PeHeaders& pe);

}  // namespace autorun
