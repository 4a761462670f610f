#include "pe_checksum.h"

namespace authoring {

// 16-bit one's-complement-style sum of the file's words with carries folded in, plus the file's length.
std::uint32_t PeChecksum(const Bytes& image, std::size_t checksumOffset) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2) {
        if (i >= checksumOffset && i < checksumOffset + 4) continue;
        std::uint32_t word = image[i];
        if (i + 1 < image.size()) word |= std::uint32_t(image[i + 1]) << 8;
        sum += word;
        sum = (sum & 0xffff) + (sum >> 16);
    }
    sum = (sum & 0xffff) + (sum >> 16);
    return std::uint32_t(sum + image.size());
}

}  // namespace authoring
