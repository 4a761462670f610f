// The names a disc can carry: what Joliet, which Windows reads, allows, and how Windows matches them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace authoring {

constexpr std::size_t kJolietNameLimit = 64;    // UTF-16 code units in one name
constexpr std::size_t kJolietPathLimit = 240;   // UTF-16 code units in a whole path
constexpr std::size_t kIsoVolumeIdLimit = 32;   // d-characters
constexpr std::size_t kWindowsPathLimit = 259;  // characters in a path, without its terminating zero
constexpr char kDiscRootOnWindows[] = "D:\\";   // as long as any drive's root: what the launcher's folder is

// Characters in a file name, extension included, on an ISO 9660 level 2 image.
constexpr std::size_t kIsoLevel2NameLimit = 31;

// Why a path on the disc can't be written with Joliet names, or nothing.
std::optional<std::string> JolietProblem(const std::filesystem::path& path);

// The ISO 9660 volume identifier for a label: upper-case letters, digits and "_", at most 32.
std::string VolumeIdFromLabel(const std::string& label);

// The launcher's icon at the disc's root, named after the volume: Explorer caches a drive's icon by the
// path autorun.inf's icon= names, so discs sharing one name would show each other's icon.  Fits ISO
// 9660 level 2 as well as Joliet.
std::string DriveIconName(const std::string& label);

// A path's components, split at "/" and "\", with "." dropped and ".." taking one back; nothing when
// ".." would leave the root.
std::optional<std::vector<std::string>> SplitDiscPath(const std::string& path);

// The key under which Windows finds a name: "/" separators, ASCII letters in upper case (Joliet and
// FAT compare names without case).
std::u16string WindowsNameKey(const std::u16string& path);

}  // namespace authoring
