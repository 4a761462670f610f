// The headers of a Windows executable (PE32 or PE32+) held in memory, read without trusting any
// offset or size in them.  Plain C++ and non-throwing: the Linux launcher reads autorun.exe with it,
// the disc tool adds its exceptions on top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace autorun {

// A value, or the reason there is none, in words for a one-line message that names the file.
template <typename T>
class PeResult {
   public:
    PeResult(T value) : value_(std::move(value)) {}  // NOLINT: a result converts from its value
    static PeResult Failure(const std::string& problem) {
        PeResult result;
        result.problem_ = problem;
        return result;
    }

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const std::string& problem() const { return problem_; }

   private:
    PeResult() = default;
    std::optional<T> value_;
    std::string problem_;
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

struct PeDataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct PeSection {
    std::string name;
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t characteristics = 0;

    // The loader maps a section as VirtualSize bytes: the first SizeOfRawData of them (at most) come
    // from the file, the rest are zeros, and file bytes past VirtualSize are padding that belongs to no
    // address.  Linkers that leave VirtualSize at 0 mean the raw size.
    std::uint32_t MemorySize() const { return virtualSize != 0 ? virtualSize : rawSize; }
    bool Contains(std::uint32_t rva) const {
        return rva >= virtualAddress && rva - virtualAddress < MemorySize();
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
    std::vector<PeDataDirectory> directories;  // at least 16, the missing ones empty
    std::vector<PeSection> sections;           // each one's raw data lies inside the file

    std::size_t coffHeader = 0;      // file offset of the COFF file header
    std::size_t optionalHeader = 0;  // file offset of the optional header
    std::size_t directoryTable = 0;  // file offset of the first data directory
    std::size_t sectionTable = 0;    // file offset of the first section header

    // The section that holds `rva`, or -1.
    int SectionOf(std::uint32_t rva) const;
    std::uint32_t EndOfSections() const;  // file offset just past the last section's raw data
};

constexpr std::size_t kSectionHeaderSize = 40;

// The headers, or why the bytes are not a PE image with consistent headers.
PeResult<PeHeaders> ParsePeHeaders(const std::vector<std::uint8_t>& image);

}  // namespace autorun
