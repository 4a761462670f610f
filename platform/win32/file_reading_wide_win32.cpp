// A file of its own, so that the launcher, which reads by 8-bit names only, doesn't carry it.
#include <windows.h>

#include "file_reading.h"
#include "win32_file_read.h"
#include "win32_long_path.h"

namespace autorun {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& name, std::size_t limit,
                                                       FileReadFailure* failure) {
    const Win32Handle file(CreateFileW(ExtendedLengthPath(name).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return ReadOpenFile(file, limit, failure);
}

}  // namespace autorun
