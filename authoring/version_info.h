// The version resource (VS_VERSIONINFO): a tree of keyed blocks whose strings Explorer shows as the
// program's description, product and company.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "little_endian.h"

namespace authoring {

class VersionInfoError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

struct VersionBlock {
    std::u16string key;
    std::uint16_t type = 0;  // 1: the value is text, its length counted in characters; 0: binary
    Bytes value;
    std::vector<VersionBlock> children;
};

// Throws VersionInfoError when the blocks don't nest within their lengths.
VersionBlock ParseVersionInfo(const Bytes& resource);
Bytes BuildVersionInfo(const VersionBlock& root);

// Sets `name` to `value` in every string table, adding the string where a table lacks it.
void SetVersionString(VersionBlock& root, const std::u16string& name, const std::u16string& value);

// The string `name` of the first string table, or nothing.
std::optional<std::u16string> FindVersionString(const VersionBlock& root, const std::u16string& name);

}  // namespace authoring
