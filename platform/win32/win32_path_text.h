// The launcher's paths travel as 8-bit text; Windows names files in UTF-16.  The conversion is
// generalized UTF-8 (WTF-8): an unpaired surrogate, which NTFS allows in a name, is kept as its own
// three-byte sequence instead of becoming U+FFFD, so every UTF-16 path comes back unchanged.
#pragma once

#include <string>
#include <vector>

namespace autorun {

std::string PathTextFromUtf16(const std::wstring& path);
std::wstring Utf16FromPathText(const std::string& path);

// argv[1] onwards of wmain as path text: every argument Windows can pass comes through unchanged.
std::vector<std::string> PathTextArguments(int argc, wchar_t** argv);

}  // namespace autorun
