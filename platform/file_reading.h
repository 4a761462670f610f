// Whole-file reads: the file is opened read-only with other writers shut out, loaded into memory
// and closed before the function returns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autorun {

// `name` is a path in the system's 8-bit encoding, relative names resolved against the current
// directory.  Returns nothing when the file can't be opened or read (missing, locked, a directory).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name);

}  // namespace autorun
