// The resources of an executable as a flat list, read from and written to the resource directory
// tree of a PE resource section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "little_endian.h"
#include "pe_image.h"

namespace authoring {

constexpr std::uint16_t kIconResource = 3;
constexpr std::uint16_t kRcDataResource = 10;
constexpr std::uint16_t kGroupIconResource = 14;
constexpr std::uint16_t kVersionResource = 16;

// A type, name or language: a number or a string.
struct ResourceKey {
    bool isNumber = true;
    std::uint16_t number = 0;
    std::u16string text;

    static ResourceKey Number(std::uint16_t value) { return {true, value, {}}; }
    static ResourceKey Text(const std::string& ascii);  // resource names are stored in upper case
    bool operator==(const ResourceKey& other) const;
    std::string Describe() const;
};

// The directory order of the format: names before numbers, names compared in upper case code unit by
// code unit, numbers ascending.  The loader searches the tables by bisection, so order matters.
bool SortsBefore(const ResourceKey& a, const ResourceKey& b);

struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    Bytes data;
};

// Reads the tree of the resource section of `image`.  Throws PeFormatError when the tree is damaged.
std::vector<Resource> ReadResources(const Bytes& image, const PeHeaders& pe);

// The bytes of a resource section at `sectionRva` that holds `resources`: directory tables, data
// entries, name strings, then the data, each item aligned as the format asks.
Bytes BuildResourceSection(std::vector<Resource> resources, std::uint32_t sectionRva);

// The resources of `type` and `name`, in any language.
std::vector<const Resource*> FindResources(const std::vector<Resource>& resources, const ResourceKey& type,
                                           const ResourceKey& name);

}  // namespace authoring
