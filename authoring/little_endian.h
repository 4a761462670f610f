// Little-endian fields in byte buffers, bounds-checked: the files read here come from users and may
// be damaged anywhere, so a field outside its buffer throws instead of reading past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "byte_order.h"

namespace authoring {

using Bytes = std::vector<std::uint8_t>;

// A field lies outside its buffer; what() names the structure being read.
class TruncatedData : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

inline void RequireRange(const Bytes& bytes, std::size_t offset, std::size_t size, const char* what) {
    if (!autorun::HasRange(bytes.size(), offset, size))
        throw TruncatedData(std::string(what) + " lies beyond the end of the data");
}

inline std::uint16_t ReadU16(const Bytes& bytes, std::size_t offset, const char* what = "a field") {
    RequireRange(bytes, offset, 2, what);
    return autorun::LoadLittleU16(bytes.data() + offset);
}

inline std::uint32_t ReadU32(const Bytes& bytes, std::size_t offset, const char* what = "a field") {
    RequireRange(bytes, offset, 4, what);
    return autorun::LoadLittleU32(bytes.data() + offset);
}

inline void WriteU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    RequireRange(bytes, offset, 2, "a field written");
    autorun::StoreLittleU16(bytes.data() + offset, value);
}

inline void WriteU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    RequireRange(bytes, offset, 4, "a field written");
    autorun::StoreLittleU32(bytes.data() + offset, value);
}

inline void AppendU16(Bytes& bytes, std::uint16_t value) {
    autorun::AppendLittleU16(bytes, value);
}

inline void AppendU32(Bytes& bytes, std::uint32_t value) {
    autorun::AppendLittleU32(bytes, value);
}

inline void PadTo(Bytes& bytes, std::size_t alignment) {
    while (bytes.size() % alignment != 0) bytes.push_back(0);
}

inline std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

}  // namespace authoring
