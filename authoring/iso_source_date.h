// An ISO image's dates and identifiers from SOURCE_DATE_EPOCH instead of the machine that writes it.
#pragma once

#include <cstdint>
#include <optional>

#include "libisofs_handles.h"

namespace authoring {

// With a date, sets what the image would otherwise take from the clock, the time zone or the author's
// file system; without one, leaves the options as they are and the clock as libisofs reads it.
void ApplySourceDate(IsoWriteOpts* opts, const std::optional<std::int64_t>& seconds);

}  // namespace authoring
