// A disc as Windows sees it: its files by path, whatever holds them (a folder, an ISO image, or the
// contents that `make` is about to write).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "disc_contents.h"

namespace authoring {

// A run of sectors that holds part of a file in an image.
struct Extent {
    std::uint64_t block;  // the first sector
    std::uint64_t bytes;
    bool operator==(const Extent&) const = default;
};

// A file as one directory tree of an image records it.
struct StoredFile {
    std::uint64_t size;  // as a reader of that tree sees it
    std::vector<Extent> extents;
};

// A file that an image stores in several extents (ISO 9660 level 3), as its Joliet tree and, where
// the image has Rock Ridge names to match it by, its ISO 9660 tree record it.
struct SplitFile {
    std::filesystem::path path;
    StoredFile joliet;
    std::optional<StoredFile> iso9660;
};

class DiscReader {
   public:
    virtual ~DiscReader() = default;

    // Every file, relative to the root.
    virtual std::vector<std::filesystem::path> Files() const = 0;
    // Throws DiscError.
    Bytes Read(const std::filesystem::path& path) const { return ReadStart(path, kWholeFile); }
    // At most the first `limit` bytes, so that a look at a program's headers doesn't load the
    // hundreds of megabytes an installer may carry after them.  Throws DiscError.
    virtual Bytes ReadStart(const std::filesystem::path& path, std::size_t limit) const = 0;
    // True for a folder (a USB stick), false for an optical disc image.
    virtual bool IsFolder() const = 0;
    // The volume identifier, or "" when the medium has none of its own.
    virtual std::string VolumeId() const { return {}; }
    // False for an image without Joliet names, where Windows sees short upper-case ISO 9660 names.
    virtual bool HasWindowsNames() const { return true; }
    // Whether Linux may run the file, where the medium keeps Unix modes (a folder on a POSIX system,
    // an image's Rock Ridge records); nothing where it doesn't tell.
    virtual std::optional<bool> IsExecutable(const std::filesystem::path&) const { return std::nullopt; }
    // An image's files stored in several extents; none elsewhere.
    virtual std::vector<SplitFile> SplitFiles() const { return {}; }
    // The image's size in sectors of 2,048 bytes as its volume descriptor gives it; 0 when not an image.
    virtual std::uint64_t ImageSectors() const { return 0; }
    // Whether `path` is there exactly as written, as Linux looks names up.
    bool HasExactly(const std::filesystem::path& path) const;

    // The stored path that Windows would open for `path`, which may use "\" and differ in case; as
    // text in the system's encoding (from autorun.inf or bin2.dat) or as UTF-16.
    std::optional<std::filesystem::path> Find(const std::string& path) const;
    std::optional<std::filesystem::path> Find(const std::u16string& path) const;
};

std::unique_ptr<DiscReader> ReadContents(const DiscContents& contents, bool asFolder);
std::unique_ptr<DiscReader> ReadFolder(const std::string& folder);   // throws DiscError
std::unique_ptr<DiscReader> ReadIsoImage(const std::string& image);  // throws DiscError

}  // namespace authoring
