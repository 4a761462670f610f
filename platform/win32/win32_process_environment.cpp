#include "win32_process_environment.h"

#include <windows.h>

namespace autorun {
namespace {

// Text from a call that returns the buffer size it needs, terminating null included, when given too
// small a buffer, and the length it wrote otherwise.  Text that grew between the two calls is
// reported as empty rather than cut.
template <typename Read>
std::wstring ReadSizedText(Read read) {
    const DWORD size = read(0, nullptr);
    if (size == 0) return {};
    std::wstring text(size, L'\0');
    const DWORD length = read(size, &text[0]);
    text.resize(length < size ? length : 0);
    return text;
}

}  // namespace

std::wstring CurrentDirectory() {
    return ReadSizedText([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
}

std::wstring SystemDirectory() {
    return ReadSizedText([](DWORD size, wchar_t* buffer) { return GetSystemDirectoryW(buffer, size); });
}

std::wstring EnvironmentValue(const wchar_t* name) {
    return ReadSizedText(
        [name](DWORD size, wchar_t* buffer) { return GetEnvironmentVariableW(name, buffer, size); });
}

}  // namespace autorun
