// The resources of an executable as a flat list: read by the shared reader (resources/
// pe_resource_tree.h) with this library's exceptions, and written as the directory tree of a PE
// resource section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "little_endian.h"
#include "pe_image.h"
#include "pe_resource_tree.h"
#include "resource_ids.h"

namespace authoring {

using autorun::kGroupIconResourceType;
using autorun::kIconResourceType;
using autorun::kManifestResourceType;
using autorun::kRcdataResourceType;
using autorun::kVersionResourceType;
using autorun::ResourceKey;
using autorun::SortsBefore;
using Resource = autorun::PeResource;

// Reads the tree of the resource section of `image`.  Throws PeFormatError when the tree is damaged.
std::vector<Resource> ReadResources(const Bytes& image, const PeHeaders& pe);

// The bytes of a resource section at `sectionRva` that holds `resources`: directory tables, data
// entries, name strings, then the data, each item aligned as the format asks.
Bytes BuildResourceSection(const std::vector<Resource>& resources, std::uint32_t sectionRva);

// The resources of `type` and `name`, in any language.
std::vector<const Resource*> FindResources(const std::vector<Resource>& resources, const ResourceKey& type,
                                           const ResourceKey& name);

}  // namespace authoring
