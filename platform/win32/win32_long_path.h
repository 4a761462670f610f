// Paths for Windows' wide file functions at any length.  Past MAX_PATH they take only the \\?\ form:
// absolute, backslashes only, no "." or ".." parts, which Windows then leaves as they are.
#pragma once

#include <string>

namespace autorun {

// Full paths shorter than this pass as they are, so that short paths reach Windows as they always
// did; CreateDirectoryW already stops 12 short of MAX_PATH, to leave room for an 8.3 name.
inline constexpr std::size_t kLongPathFrom = 260 - 12;

// The \\?\ form of `full`, a full path as GetFullPathNameW gives it: "C:\x" becomes "\\?\C:\x",
// "\\server\share\x" becomes "\\?\UNC\server\share\x"; a path already in that or the device form
// (\\.\) stays as it is, and so does anything else.
std::wstring ExtendedLengthForm(const std::wstring& full);

// `path` made absolute as Windows does it: against the current folder (or the drive's), "/" turned
// into "\", "." and ".." parts resolved; a share's path (\\server\share\x) is absolute already.  `path`
// itself when Windows can't.
std::wstring FullPath(const std::wstring& path);

// `path` (relative or absolute, "/" or "\"), in the \\?\ form when its full path is at least
// kLongPathFrom long, else as it is.
std::wstring ExtendedLengthPath(const std::wstring& path);

}  // namespace autorun
