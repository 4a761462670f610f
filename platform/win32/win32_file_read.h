// The read behind both of ReadWholeFile's Windows forms (file_reading.h), once the file is open.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "file_reading.h"
#include "win32_handle.h"

namespace autorun {

// Nothing, with `failure` set, when the handle is not valid or a read fails.
std::optional<std::vector<std::uint8_t>> ReadOpenFile(const Win32Handle& file, std::size_t limit,
                                                      FileReadFailure* failure);

}  // namespace autorun
