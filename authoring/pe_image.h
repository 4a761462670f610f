// The headers of a Windows executable (PE32 or PE32+) that a resource rewrite reads and changes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "little_endian.h"

namespace authoring {

// The file is not an executable this tool can work on; what() says why, without naming the file.
class PeFormatError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

enum DataDirectoryIndex : unsigned {
    kExportDirectory = 0,
    kImportDirectory = 1,
    kResourceDirectory = 2,
    kExceptionDirectory = 3,
    kSecurityDirectory = 4,
    kBaseRelocationDirectory = 5,
    kDebugDirectory = 6,
};

constexpr std::uint32_t kSectionDiscardable = 0x02000000;
constexpr std::uint32_t kSectionInitializedData = 0x00000040;

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct Section {
    std::string name;
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t characteristics = 0;

    bool Contains(std::uint32_t rva) const {
        return rva >= virtualAddress && rva - virtualAddress < std::max(virtualSize, rawSize);
    }
};

// Where the fields sit in the file, and their values.
struct PeHeaders {
    bool pe32Plus = false;
    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t fileAlignment = 0;
    std::uint32_t symbolTableOffset = 0;
    std::vector<DataDirectory> directories;
    std::vector<Section> sections;

    std::size_t coffHeader = 0;      // file offset of the COFF file header
    std::size_t optionalHeader = 0;  // file offset of the optional header
    std::size_t directoryTable = 0;  // file offset of the first data directory
    std::size_t sectionTable = 0;    // file offset of the first section header

    // The section that holds `rva`, or -1.
    int SectionOf(std::uint32_t rva) const;
    std::uint32_t EndOfSections() const;  // file offset just past the last section's raw data
};

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSizeOfInitializedDataField = 8;  // offsets within the optional header
constexpr std::size_t kSizeOfImageField = 56;
constexpr std::size_t kCheckSumField = 64;

// Throws PeFormatError when the bytes are not a PE image with consistent headers.
PeHeaders ReadPeHeaders(const Bytes& image);

}  // namespace authoring
