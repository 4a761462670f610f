#include "win32_ansi_arguments.h"

#include <windows.h>

namespace autorun {
namespace {

std::string ToAnsi(const wchar_t* text, std::size_t index) {
    const int wideLength = static_cast<int>(wcslen(text));
    if (wideLength == 0) return {};
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, wideLength, nullptr, 0, nullptr, &lossy);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    if (length == 0 || lossy ||
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, wideLength, &ansi[0], length, nullptr,
                            &lossy) != length ||
        lossy)
        throw ArgumentEncodingError("argument " + std::to_string(index) +
                                    " has characters that the ANSI code page cannot represent");
    return ansi;
}

}  // namespace

std::vector<std::string> AnsiArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(ToAnsi(argv[i], static_cast<std::size_t>(i)));
    return args;
}

}  // namespace autorun
