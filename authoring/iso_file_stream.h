// A game file as libisofs reads it into an image: through the C++ library's own file reading, which
// takes wide paths on Windows (libisofs's local-file source takes only what the ANSI code page spells).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "libisofs_handles.h"

namespace authoring {

// libisofs writes zeros for a file it can't read and goes on, so the streams tell their writer: the first
// failure's text ("PATH: cannot read the file"), empty while there is none.
using ReadFailure = std::shared_ptr<std::string>;

// A stream of the file at `path` that is `size` bytes long, each stream with an identity of its own
// (the n-th made in this process is the n-th in the image's data); the caller owns one reference.
// Throws DiscError.
IsoStream* NewIsoFileStream(const std::filesystem::path& path, std::uint64_t size,
                            const ReadFailure& failure);

}  // namespace authoring
