// The launcher's paths travel as 8-bit text; Windows names files in UTF-16.  The conversion is
// generalized UTF-8 (WTF-8): an unpaired surrogate, which NTFS allows in a name, is kept as its own
// three-byte sequence instead of becoming U+FFFD, so every UTF-16 path comes back unchanged.
#pragma once

#include <string>
#include <vector>

namespace autorun {

// Also the way into disc authoring on Windows: a DiscProject's paths are this text, so a path from a
// dialog, a window or wmain's arguments goes in through PathTextFromUtf16 (and its texts too, for
// valid UTF-16 is plain UTF-8 here).
std::string PathTextFromUtf16(const std::wstring& path);
std::wstring Utf16FromPathText(const std::string& path);

// argv[1] onwards of wmain as path text: every argument Windows can pass comes through unchanged.
std::vector<std::string> PathTextArguments(int argc, wchar_t** argv);

}  // namespace autorun
