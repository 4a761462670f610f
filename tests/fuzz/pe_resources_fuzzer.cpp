// Fuzzes the reader of a launcher's resources with any bytes in place of autorun.exe, as both its users
// see it: the authoring library (headers, resource tree, splash, icon groups, version information, and
// the rewrite that brands it) and the Linux launcher, which finds the splash in the same file on the
// disc.  Both must agree; the authoring side throws nothing but PeFormatError and BrandingError, which
// the tool turns into one line naming the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <tuple>

#include "fuzz_require.h"
#include "icon_file.h"
#include "launcher_branding.h"
#include "pe_image.h"
#include "pe_resources.h"
#include "resource_table.h"
#include "version_info.h"

namespace {

using authoring::Bytes;
using fuzzing::Require;

// Any bytes do: the rewrite stores the splash, it doesn't decode it.
const Bytes kNewSplash = {0xff, 0xd8, 0xff, 0xd9};

void CheckHeaders(const Bytes& image, const authoring::PeHeaders& pe) {
    Require(pe.directories.size() >= 16);
    Require(pe.fileAlignment != 0 && pe.sectionAlignment != 0);
    for (const authoring::Section& section : pe.sections)
        Require(section.rawSize == 0 || std::size_t(section.rawOffset) + section.rawSize <= image.size());
}

bool SameResource(const authoring::Resource& a, const authoring::Resource& b) {
    return a.type == b.type && a.name == b.name && a.language == b.language && a.codePage == b.codePage &&
           a.data == b.data;
}

bool Before(const authoring::Resource& a, const authoring::Resource& b) {
    if (authoring::SortsBefore(a.type, b.type) || authoring::SortsBefore(b.type, a.type))
        return authoring::SortsBefore(a.type, b.type);
    if (authoring::SortsBefore(a.name, b.name) || authoring::SortsBefore(b.name, a.name))
        return authoring::SortsBefore(a.name, b.name);
    return a.language < b.language;
}

// What the writer makes of the resources, the reader gives back: the rewrite relies on it.
void CheckResourcesRoundTrip(std::vector<authoring::Resource> resources) {
    constexpr std::uint32_t kRva = 0x3000;
    Bytes tree;
    try {
        tree = authoring::BuildResourceSection(resources, kRva);
    } catch (const authoring::PeFormatError&) {
        return;  // two resources under one type, name and language: the rewrite refuses them too
    }
    authoring::PeHeaders pe;
    pe.directories.resize(16);
    pe.directories[authoring::kResourceDirectory] = {kRva, std::uint32_t(tree.size())};
    authoring::Section section;
    section.virtualAddress = kRva;
    section.virtualSize = section.rawSize = std::uint32_t(tree.size());
    pe.sections.push_back(section);
    auto reread = authoring::ReadResources(tree, pe);
    Require(reread.size() == resources.size());
    std::stable_sort(resources.begin(), resources.end(), Before);
    std::stable_sort(reread.begin(), reread.end(), Before);
    for (std::size_t i = 0; i < resources.size(); ++i) Require(SameResource(resources[i], reread[i]));
}

// Whatever version information parses is written in a form that parses to the same again.
void CheckVersionInfo(const Bytes& resource) {
    authoring::VersionBlock root;
    try {
        root = authoring::ParseVersionInfo(resource);
    } catch (const authoring::VersionInfoError&) {
        return;
    }
    Bytes built;
    try {
        built = authoring::BuildVersionInfo(root);
    } catch (const authoring::VersionInfoError&) {
        return;  // grew beyond 64 KiB on 4-byte alignment
    }
    const Bytes rebuilt = authoring::BuildVersionInfo(authoring::ParseVersionInfo(built));
    Require(rebuilt == built);
    authoring::SetVersionString(root, u"ProductName", u"Fuzz");
    const auto found = authoring::FindVersionString(root, u"ProductName");
    Require(!found || *found == u"Fuzz");
}

void CheckGroups(const std::vector<authoring::Resource>& resources) {
    for (const authoring::Resource& resource : resources) {
        if (resource.type == authoring::ResourceKey::Number(authoring::kVersionResourceType))
            CheckVersionInfo(resource.data);
        if (resource.type == authoring::ResourceKey::Number(authoring::kGroupIconResourceType)) {
            try {
                authoring::IconGroupMembers(resource.data);
            } catch (const authoring::IconFormatError&) {
            }
        }
    }
}

// A branded launcher is a launcher again, and both readers find the new splash in it.
void CheckBranding(const Bytes& image) {
    authoring::Branding branding;
    branding.splashJpeg = kNewSplash;
    branding.icon = std::vector<authoring::IconImage>{{32, 32, 0, 1, 8, false, Bytes(40, 1)}};
    branding.product = u"Fuzz Product";
    branding.company = u"Fuzz Company";
    Bytes branded;
    try {
        branded = authoring::BrandLauncher(image, branding);
    } catch (const authoring::PeFormatError&) {
        return;
    } catch (const authoring::BrandingError&) {
        return;
    }
    Require(authoring::ReadSplashResource(branded) == kNewSplash);
    Require(autorun::FindPeResource(branded, autorun::kRcdataResourceType, autorun::kSplashResource) ==
            kNewSplash);
}

// The Linux launcher's reader: nothing, or bytes of the image with at most as many zeros again for
// data in a section's zero-filled tail.  It finds a splash exactly when the disc tool's check does,
// and the same one.
void CheckLauncherReader(const Bytes& image) {
    const auto splash =
        autorun::FindPeResource(image, autorun::kRcdataResourceType, autorun::kSplashResource);
    Require(!splash || splash->size() <= 2 * image.size());
    std::optional<Bytes> checked;
    try {
        checked = authoring::ReadSplashResource(image);
    } catch (const authoring::PeFormatError&) {
    } catch (const authoring::BrandingError&) {
    }
    Require(splash == checked);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes image(data, data + size);
    CheckLauncherReader(image);

    authoring::PeHeaders pe;
    std::vector<authoring::Resource> resources;
    try {
        pe = authoring::ReadPeHeaders(image);
        CheckHeaders(image, pe);
        resources = authoring::ReadResources(image, pe);
    } catch (const authoring::PeFormatError&) {
        return 0;
    }
    CheckResourcesRoundTrip(resources);
    CheckGroups(resources);
    try {
        authoring::ReadSplashResource(image);
    } catch (const authoring::BrandingError&) {
        return 0;  // no splash: not a launcher, so not brandable either
    }
    CheckBranding(image);
    return 0;
}
