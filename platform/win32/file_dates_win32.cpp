#include <windows.h>

#include "file_dates.h"
#include "win32_handle.h"
#include "win32_long_path.h"
#include "win32_system_message.h"

namespace autorun {
namespace {

// FILETIME counts 100-nanosecond intervals from 1601-01-01.
constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::uint64_t kIntervalsPerSecond = 10000000;

}  // namespace

void SetModificationTime(const std::filesystem::path& path, std::int64_t seconds) {
    // Backup semantics open folders as well as files.
    const Win32Handle file(CreateFileW(ExtendedLengthPath(path.native()).c_str(), FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::uint64_t intervals = (std::uint64_t(seconds) + kSecondsFrom1601To1970) * kIntervalsPerSecond;
    const FILETIME time{DWORD(intervals), DWORD(intervals >> 32)};
    if (!file.valid() || !SetFileTime(file.get(), nullptr, nullptr, &time))
        throw FileError("cannot set the file's date: " + SystemMessage(GetLastError()));
}

}  // namespace autorun
