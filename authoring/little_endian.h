// Little-endian fields in byte buffers, bounds-checked: the files read here come from users and may
// be damaged anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace authoring {

using Bytes = std::vector<std::uint8_t>;

// A field lies outside its buffer; what() names the structure being read.
class TruncatedData : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

inline void RequireRange(const Bytes& bytes, std::size_t offset, std::size_t size, const char* what) {
    if (offset > bytes.size() || size > bytes.size() - offset)
        throw TruncatedData(std::string(what) + " lies beyond the end of the data");
}

inline std::uint16_t ReadU16(const Bytes& bytes, std::size_t offset, const char* what = "a field") {
    RequireRange(bytes, offset, 2, what);
    return std::uint16_t(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t ReadU32(const Bytes& bytes, std::size_t offset, const char* what = "a field") {
    RequireRange(bytes, offset, 4, what);
    return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
           std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

inline void WriteU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    RequireRange(bytes, offset, 2, "a field written");
    bytes[offset] = std::uint8_t(value);
    bytes[offset + 1] = std::uint8_t(value >> 8);
}

inline void WriteU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    RequireRange(bytes, offset, 4, "a field written");
    for (int i = 0; i < 4; ++i) bytes[offset + i] = std::uint8_t(value >> (8 * i));
}

inline void AppendU16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(std::uint8_t(value));
    bytes.push_back(std::uint8_t(value >> 8));
}

inline void AppendU32(Bytes& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(value >> (8 * i)));
}

inline void PadTo(Bytes& bytes, std::size_t alignment) {
    while (bytes.size() % alignment != 0) bytes.push_back(0);
}

inline std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

}  // namespace authoring
