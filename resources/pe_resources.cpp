#include "pe_resources.h"

#include "pe_headers.h"
#include "pe_resource_tree.h"

namespace autorun {

std::optional<std::vector<std::uint8_t>> FindPeResource(const std::vector<std::uint8_t>& image,
                                                        std::uint16_t type, const std::string& name) {
    const auto headers = ParsePeHeaders(image);
    if (!headers) return std::nullopt;
    auto resources = ParsePeResources(image, *headers);
    if (!resources) return std::nullopt;
    const ResourceKey typeKey = ResourceKey::Number(type), nameKey = ResourceKey::Text(name);
    for (PeResource& resource : *resources)
        if (resource.type == typeKey && resource.name == nameKey) return std::move(resource.data);
    return std::nullopt;
}

}  // namespace autorun
