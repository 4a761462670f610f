#include "file_reading.h"

#include <windows.h>

#include "win32_handle.h"

namespace autorun {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name) {
    const Win32Handle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;

    std::vector<std::uint8_t> content;
    std::uint8_t chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
        if (got == 0) return content;
        content.insert(content.end(), chunk, chunk + got);
    }
    return std::nullopt;
}

}  // namespace autorun
