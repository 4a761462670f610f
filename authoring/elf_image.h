// Telling the Linux launcher from other files by its ELF header, before it goes onto a disc.
#pragma once

#include <optional>
#include <string>

#include "little_endian.h"

namespace authoring {

// Why `bytes` is not an x86_64 Linux executable (or shared object, as position-independent
// executables are), or nothing when it is one.
std::optional<std::string> X8664ExecutableProblem(const Bytes& bytes);

}  // namespace authoring
