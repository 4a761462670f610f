// Reads a named resource out of a Windows executable held in memory, so that the Linux launcher
// shows the very splash picture that the Windows launcher on the same disc carries.  Plain C++;
// both PE32 (i686) and PE32+ (x86_64) images are understood.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace autorun {

// The bytes of the resource of type `type` whose name is `name` (compared as resource compilers
// store names: without regard to ASCII case), in its first language.  Nothing when the image is
// not a PE file, has no such resource, or its headers or resource tree are damaged: the same images
// that the disc tool's check refuses.
std::optional<std::vector<std::uint8_t>> FindPeResource(const std::vector<std::uint8_t>& image,
                                                        std::uint16_t type, const std::string& name);

}  // namespace autorun
