// File reads: the file is opened read-only with other writers shut out, loaded into memory and closed
// before the function returns.  The one way the launchers and the tools read files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autorun {

// No limit on how much of a file is read.
inline constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);

// Why a read gave nothing: the file could not be opened (missing, locked, a directory or other
// non-file), or it could be opened but not read.
enum class FileReadFailure { kOpen, kRead };

// The file's bytes, at most the first `limit` of them.  `name` is a path in the system's 8-bit
// encoding, relative names resolved against the current directory.  Returns nothing when the file
// can't be opened or read; `failure`, when given, then says which.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name,
                                                       std::size_t limit = kWholeFile,
                                                       FileReadFailure* failure = nullptr);

#ifdef _WIN32
// The same for a UTF-16 path, which may hold names the ANSI code page can't spell.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& name,
                                                       std::size_t limit = kWholeFile,
                                                       FileReadFailure* failure = nullptr);
#endif

}  // namespace autorun
