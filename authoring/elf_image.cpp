#include "elf_image.h"

#include <algorithm>
#include <iterator>

namespace authoring {
namespace {

constexpr std::size_t kHeaderSize = 64;  // ELF64
constexpr unsigned char kMagic[] = {0x7f, 'E', 'L', 'F'};
constexpr unsigned char kClass64 = 2;
constexpr unsigned char kLittleEndian = 1;
constexpr std::uint16_t kExecutable = 2;
constexpr std::uint16_t kSharedObject = 3;
constexpr std::uint16_t kX8664 = 62;

}  // namespace

std::optional<std::string> X8664ExecutableProblem(const Bytes& bytes) {
    if (bytes.size() < kHeaderSize || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin()))
        return "not a Linux program (no ELF header)";
    if (bytes[4] != kClass64 || bytes[5] != kLittleEndian || autorun::LoadLittleU16(&bytes[18]) != kX8664)
        return "a Linux program for another processor; the launcher must be built for x86_64";
    const std::uint16_t type = autorun::LoadLittleU16(&bytes[16]);
    if (type != kExecutable && type != kSharedObject) return "an ELF file that is not a program";
    return std::nullopt;
}

}  // namespace authoring
