// A number from the system's random source, for the names of temporary files and filler bytes; not for keys.
#pragma once

#include <cstdint>

namespace autorun {

std::uint32_t RandomNumber();

}  // namespace autorun
