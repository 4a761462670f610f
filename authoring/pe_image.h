// The headers of a Windows executable that a resource rewrite reads and changes: the shared reader
// (resources/pe_headers.h) with this library's exceptions and the fields the rewrite patches.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "little_endian.h"
#include "pe_headers.h"

namespace authoring {

// The file is not an executable this tool can work on; what() says why, without naming the file.
class PeFormatError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

using enum autorun::DataDirectoryIndex;
using DataDirectory = autorun::PeDataDirectory;
using Section = autorun::PeSection;
using autorun::kSectionHeaderSize;
using autorun::PeHeaders;

constexpr std::uint32_t kSectionDiscardable = 0x02000000;
constexpr std::uint32_t kSectionInitializedData = 0x00000040;

constexpr std::size_t kSizeOfInitializedDataField = 8;  // offsets within the optional header
constexpr std::size_t kSizeOfImageField = 56;
constexpr std::size_t kCheckSumField = 64;

// Throws PeFormatError when the bytes are not a PE image with consistent headers.
PeHeaders ReadPeHeaders(const Bytes& image);

}  // namespace authoring
