#include "launcher_branding.h"

#include <algorithm>
#include <functional>
#include <set>

#include "pe_image.h"
#include "resource_section_rewrite.h"
#include "resource_table.h"
#include "version_info.h"

namespace authoring {
namespace {

// The names under which the launcher looks its resources up.
const ResourceKey kSplashName = ResourceKey::Text(autorun::kSplashResource);
const ResourceKey kMainIconName = ResourceKey::Text(autorun::kMainIconResource);
using autorun::kVersionInfoId;

void RemoveWhere(std::vector<Resource>& resources, const std::function<bool(const Resource&)>& doomed) {
    resources.erase(std::remove_if(resources.begin(), resources.end(), doomed), resources.end());
}

const Resource& TheOne(const std::vector<Resource>& resources, const ResourceKey& type,
                       const ResourceKey& name, const std::string& what) {
    const auto found = FindResources(resources, type, name);
    if (found.empty()) throw BrandingError("not a launcher: it has no " + what);
    return *found.front();
}

void ReplaceSplash(std::vector<Resource>& resources, const Bytes& jpeg) {
    Resource splash =
        TheOne(resources, ResourceKey::Number(kRcdataResourceType), kSplashName, "splash picture");
    splash.data = jpeg;
    RemoveWhere(resources, [](const Resource& r) {
        return r.type == ResourceKey::Number(kRcdataResourceType) && r.name == kSplashName;
    });
    resources.push_back(std::move(splash));
}

// The icon images of the old group go, unless another group shows them too; the new ones take the
// lowest free identifiers.
void ReplaceIcon(std::vector<Resource>& resources, const std::vector<IconImage>& images) {
    const ResourceKey groupType = ResourceKey::Number(kGroupIconResourceType);
    const ResourceKey iconType = ResourceKey::Number(kIconResourceType);
    Resource group = TheOne(resources, groupType, kMainIconName, "icon MAINICON");
    std::set<std::uint16_t> oldMembers;
    for (const Resource* old : FindResources(resources, groupType, kMainIconName)) {
        const auto members = IconGroupMembers(old->data);
        oldMembers.insert(members.begin(), members.end());
    }
    RemoveWhere(resources, [&](const Resource& r) { return r.type == groupType && r.name == kMainIconName; });
    for (const Resource& other : resources)
        if (other.type == groupType)
            for (std::uint16_t id : IconGroupMembers(other.data)) oldMembers.erase(id);
    RemoveWhere(resources, [&](const Resource& r) {
        return r.type == iconType && r.name.isNumber && oldMembers.count(r.name.number);
    });

    std::uint16_t firstId = 1;
    for (const Resource& r : resources)
        if (r.type == iconType && r.name.isNumber)
            firstId = std::max<std::uint16_t>(firstId, r.name.number + 1);
    if (firstId + images.size() > 0xffff)
        throw BrandingError("no free identifiers left for the icon's images");
    for (std::size_t i = 0; i < images.size(); ++i)
        resources.push_back(
            {iconType, ResourceKey::Number(std::uint16_t(firstId + i)), group.language, 0, images[i].data});
    group.data = BuildIconGroup(images, firstId);
    resources.push_back(std::move(group));
}

void ReplaceVersionStrings(std::vector<Resource>& resources, const Branding& branding) {
    const ResourceKey versionType = ResourceKey::Number(kVersionResourceType);
    const auto found = FindResources(resources, versionType, ResourceKey::Number(kVersionInfoId));
    if (found.empty()) throw BrandingError("not a launcher: it has no version information");
    for (Resource& resource : resources) {
        if (!(resource.type == versionType && resource.name == ResourceKey::Number(kVersionInfoId))) continue;
        VersionBlock root = ParseVersionInfo(resource.data);
        if (branding.product) {
            SetVersionString(root, u"ProductName", *branding.product);
            SetVersionString(root, u"FileDescription", *branding.product);
        }
        if (branding.company) SetVersionString(root, u"CompanyName", *branding.company);
        resource.data = BuildVersionInfo(root);
    }
}

}  // namespace

Bytes BrandLauncher(const Bytes& launcher, const Branding& branding) {
    const PeHeaders pe = ReadPeHeaders(launcher);
    std::vector<Resource> resources = ReadResources(launcher, pe);
    try {
        if (branding.splashJpeg) ReplaceSplash(resources, *branding.splashJpeg);
        if (branding.icon) ReplaceIcon(resources, *branding.icon);
        if (branding.product || branding.company) ReplaceVersionStrings(resources, branding);
    } catch (const IconFormatError& error) {
        throw BrandingError(std::string("damaged icon resource: ") + error.what());
    } catch (const VersionInfoError& error) {
        throw BrandingError(error.what());
    }
    return ReplaceResources(launcher, resources);
}

Bytes ReadSplashResource(const Bytes& launcher) {
    const PeHeaders pe = ReadPeHeaders(launcher);
    const std::vector<Resource> resources = ReadResources(launcher, pe);
    return TheOne(resources, ResourceKey::Number(kRcdataResourceType), kSplashName, "splash picture").data;
}

std::vector<IconImage> ReadMainIcon(const Bytes& launcher) {
    const PeHeaders pe = ReadPeHeaders(launcher);
    const std::vector<Resource> resources = ReadResources(launcher, pe);
    const Resource& group =
        TheOne(resources, ResourceKey::Number(kGroupIconResourceType), kMainIconName, "icon MAINICON");
    // An image in the group's own language first, as the loader picks it, else in any.
    const auto imageById = [&](std::uint16_t id) -> const Bytes* {
        const auto found =
            FindResources(resources, ResourceKey::Number(kIconResourceType), ResourceKey::Number(id));
        for (const Resource* image : found)
            if (image->language == group.language) return &image->data;
        return found.empty() ? nullptr : &found.front()->data;
    };
    try {
        return IconGroupImages(group.data, imageById);
    } catch (const IconFormatError& error) {
        throw BrandingError(std::string("damaged icon MAINICON: ") + error.what());
    }
}

}  // namespace authoring
