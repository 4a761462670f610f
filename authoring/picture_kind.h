// What kind of picture a file holds, by its first bytes, as the readers that follow will see it.
#pragma once

#include <algorithm>
#include <iterator>

#include "little_endian.h"

namespace authoring {

inline bool IsPngFile(const Bytes& file) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return file.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), file.begin());
}

// A start-of-image marker followed by any marker: damage further on is the JPEG reader's to report.
inline bool IsJpegFile(const Bytes& file) {
    return file.size() >= 3 && file[0] == 0xff && file[1] == 0xd8 && file[2] == 0xff;
}

}  // namespace authoring
