#include "win32_system_message.h"

#include <memory>

namespace autorun {
namespace {

struct LocalMemoryFree {
    void operator()(char* text) const { LocalFree(text); }
};

}  // namespace

std::string SystemMessage(DWORD code) {
    char* buffer = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    const std::unique_ptr<char, LocalMemoryFree> text(buffer);
    std::string message = text ? text.get() : "error " + std::to_string(code);
    while (!message.empty() && (message.back() == '.' || message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' '))
        message.pop_back();
    return message;
}

}  // namespace autorun
