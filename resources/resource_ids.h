// The resource types and names that the launchers, the disc tool and their tests look up.  Resource
// scripts give names as bare words, so autorun.rc spells them out; the unit tests load both names
// from a build that links the resources.
#pragma once

#include <cstdint>

namespace autorun {

// Resource types, as Windows numbers them (RT_ICON and so on).
constexpr std::uint16_t kIconResourceType = 3;        // one image of an icon
constexpr std::uint16_t kRcdataResourceType = 10;     // raw bytes
constexpr std::uint16_t kGroupIconResourceType = 14;  // an icon: its images' sizes and identifiers
constexpr std::uint16_t kVersionResourceType = 16;    // version information
constexpr std::uint16_t kManifestResourceType = 24;   // the application manifest

// Numbered resources that Windows looks for by their number.
constexpr std::uint16_t kVersionInfoId = 1;      // VS_VERSION_INFO
constexpr std::uint16_t kProcessManifestId = 1;  // CREATEPROCESS_MANIFEST_RESOURCE_ID

constexpr char kMainIconResource[] = "MAINICON";  // icon group: the application's icon
constexpr char kSplashResource[] = "SPLASH";      // RCDATA: the splash picture, a JPEG

}  // namespace autorun
