#include <chrono>
#include <system_error>

#include "file_dates.h"

namespace autorun {

void SetModificationTime(const std::filesystem::path& path, std::int64_t seconds) {
    const auto date =
        std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(seconds)));
    std::error_code error;
    std::filesystem::last_write_time(path, date, error);
    if (error) throw FileError("cannot set the file's date: " + error.message());
}

}  // namespace autorun
