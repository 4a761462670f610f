// A small PE image made in memory for the resource rewrite's tests: headers, a code section, the
// resources, and after them the base relocations and, on request, more sections.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "little_endian.h"
#include "resource_table.h"

namespace authoring {

struct SyntheticSection {
    std::string name;
    Bytes data;
    std::uint32_t characteristics;
};

struct SyntheticPeOptions {
    bool pe32Plus = false;
    std::vector<Resource> resources;
    Bytes relocations;                        // the base relocation blocks; none when empty
    std::vector<SyntheticSection> extraTail;  // placed after the relocations
    std::uint32_t securitySize = 0;
};

constexpr std::uint32_t kSyntheticSectionAlignment = 0x1000;
constexpr std::uint32_t kSyntheticFileAlignment = 0x200;
constexpr std::uint32_t kSyntheticCodeRva = 0x1000;

Bytes MakeSyntheticPe(const SyntheticPeOptions& options);

// One relocation block for the page at `pageRva` with HIGHLOW entries at the given offsets.
Bytes RelocationBlock(std::uint32_t pageRva, const std::vector<std::uint16_t>& offsets);

}  // namespace authoring
