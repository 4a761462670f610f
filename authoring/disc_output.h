// Writing a laid-out disc: as a folder or as an ISO 9660 image.  Either appears complete or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "disc_contents.h"

namespace authoring {

// Called with the share written so far, 0 to 1, at every tenth of a write large enough to take a while.
using Progress = std::function<void(double)>;

// Writes smaller than this take a moment and report no progress.
constexpr double kProgressFrom = 64.0 * 1024 * 1024;

// Reports each tenth of `total` bytes once as Add() counts them up.
class ProgressTenths {
   public:
    ProgressTenths(const Progress& progress, double total) : progress_(progress), total_(total) {}
    void Add(double bytes);

   private:
    const Progress& progress_;
    double total_;
    double done_ = 0;
    int lastTenth_ = -1;
};

// Builds the folder beside `target` and renames it into place; an existing `target` is replaced only
// when `replace` is set.  Throws DiscError.
void WriteDiscFolder(const DiscContents& contents, const std::string& target, bool replace,
                     const Progress& progress);

// Called with the image's size in sectors of 2,048 bytes once it is known, before anything is written;
// throws DiscError to refuse it.
using SizeCheck = std::function<void(std::uint64_t sectors)>;

// ISO 9660 with Joliet and Rock Ridge names, written to a temporary file beside `target` that then
// takes its place; level 3 when a file is larger than one extent holds, level 2 otherwise.  Returns the
// image's size in sectors.  Throws DiscError.
std::uint64_t WriteDiscIso(const DiscContents& contents, const std::string& target, bool replace,
                           const Progress& progress, const SizeCheck& checkSize);

// Whether a folder written by this build keeps the Unix modes of its files (not on Windows).
bool FoldersKeepUnixModes();

}  // namespace authoring
