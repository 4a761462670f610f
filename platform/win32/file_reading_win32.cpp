#include <windows.h>

#include "file_reading.h"
#include "win32_handle.h"
#include "win32_file_read.h"

namespace autorun {

std::optional<std::vector<std::uint8_t>> ReadOpenFile(const Win32Handle& file, std::size_t limit,
                                                      FileReadFailure* failure) {
    const auto failed = [failure](FileReadFailure why) {
        if (failure) *failure = why;
        return std::nullopt;
    };
    if (!file.valid()) return failed(FileReadFailure::kOpen);
    std::vector<std::uint8_t> content;
    std::uint8_t chunk[4096];
    while (content.size() < limit) {
        const std::size_t wanted =
            limit - content.size() < sizeof chunk ? limit - content.size() : sizeof chunk;
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, DWORD(wanted), &got, nullptr)) return failed(FileReadFailure::kRead);
        if (got == 0) break;
        content.insert(content.end(), chunk, chunk + got);
    }
    return content;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name, std::size_t limit,
                                                       FileReadFailure* failure) {
    const Win32Handle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    return ReadOpenFile(file, limit, failure);
}

}  // namespace autorun
