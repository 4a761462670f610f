// Layout and scrambling of the launch settings file: two length-prefixed texts stored as
// 32-bit words with a word-wise additive key.  Plain C++, shared by the launcher and bin2dat.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "message_error.h"

namespace autorun {

constexpr std::uint32_t SettingsKey = 0x3C6E21D5;

// Text lengths the format can carry: the decode buffer size (L + 3) & 0xFFFC is 0 outside this range.
constexpr std::size_t kMinTextLength = 1;
constexpr std::size_t kMaxTextLength = 65532;

// The file's bytes break a rule of the format; what() says which, without naming the file.
class SettingsFormatError : public MessageError {
   public:
    using MessageError::MessageError;
};

// Number of 32-bit words that hold a text of `length` bytes.
std::size_t WordCount(std::size_t length);

// Amount added to word `index` on top of SettingsKey: 32 * i^2 + i^4, modulo 2^32.
std::uint32_t WordOffset(std::uint32_t index);

// Decodes the WordCount(length) little-endian words at `words` and returns the first `length`
// bytes of the plain text.  The caller guarantees that the words are there.
std::string DecodeSettingsBlock(const std::uint8_t* words, std::size_t length);

// Inverse of DecodeSettingsBlock; the fill bytes of the last word come from `fill`, which must
// hold at least as many bytes as the last word needs (its surplus is ignored).
std::vector<std::uint8_t> EncodeSettingsBlock(std::string_view text, std::string_view fill = {});

struct LaunchSettings {
    std::string firstText;    // carried by the file, unused by the launcher
    std::string gameExeName;  // relative to the launcher's directory
    std::size_t formatSize;   // bytes the format occupies; anything after it is ignored
};

// Parses a whole settings file.  Throws SettingsFormatError when a length is outside the format
// or the file is shorter than its lengths announce.
LaunchSettings ParseLaunchSettings(const std::vector<std::uint8_t>& file);

// Builds a settings file; the text lengths must lie in [kMinTextLength, kMaxTextLength].
// `fill` supplies the fill bytes of both texts' last words and of the separator byte.
std::vector<std::uint8_t> BuildLaunchSettings(std::string_view firstText, std::string_view gameExeName,
                                              std::string_view fill = {});

}  // namespace autorun
