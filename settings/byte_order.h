// Multi-byte fields in byte buffers, the one place that knows how they are laid out: the settings
// file, PE and ELF images and icon files are little-endian, PNG and JPEG headers big-endian.
// The Load and Store functions check nothing; the caller has made sure the bytes are there.  The
// Read functions check, and give nothing for a field that lies outside its buffer, so that each
// reader can report a damaged file in its own words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace autorun {

constexpr std::uint16_t LoadLittleU16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

constexpr std::uint32_t LoadLittleU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

constexpr std::uint16_t LoadBigU16(const std::uint8_t* p) {
    return std::uint16_t(p[0] << 8 | p[1]);
}

constexpr std::uint32_t LoadBigU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

constexpr void StoreLittleU16(std::uint8_t* p, std::uint16_t value) {
    p[0] = std::uint8_t(value);
    p[1] = std::uint8_t(value >> 8);
}

constexpr void StoreLittleU32(std::uint8_t* p, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *p++ = std::uint8_t(value >> shift);
}

inline void AppendLittleU16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(std::uint8_t(value));
    bytes.push_back(std::uint8_t(value >> 8));
}

inline void AppendLittleU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::uint8_t(value >> shift));
}

// Written so that no offset near SIZE_MAX can wrap around into the buffer.
constexpr bool HasRange(std::size_t bufferSize, std::size_t offset, std::size_t size) {
    return offset <= bufferSize && size <= bufferSize - offset;
}

inline std::optional<std::uint16_t> ReadLittleU16(const std::vector<std::uint8_t>& bytes,
                                                  std::size_t offset) {
    if (!HasRange(bytes.size(), offset, 2)) return std::nullopt;
    return LoadLittleU16(bytes.data() + offset);
}

inline std::optional<std::uint32_t> ReadLittleU32(const std::vector<std::uint8_t>& bytes,
                                                  std::size_t offset) {
    if (!HasRange(bytes.size(), offset, 4)) return std::nullopt;
    return LoadLittleU32(bytes.data() + offset);
}

inline std::optional<std::uint32_t> ReadBigU32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    if (!HasRange(bytes.size(), offset, 4)) return std::nullopt;
    return LoadBigU32(bytes.data() + offset);
}

}  // namespace autorun
