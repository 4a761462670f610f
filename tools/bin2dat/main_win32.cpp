#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "bin2dat.h"

namespace {

// The ANSI code page is what the launcher decodes the name with, so the texts are stored in it.
// A character it lacks would otherwise turn into "?" or a look-alike without a word.
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
        throw bin2dat::UsageError(
            bin2dat::Command::kHelp,
            "argument " + std::to_string(index) + " has characters that the ANSI code page cannot represent");
    return ansi;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Names are bytes: no "\n" to "\r\n" translation, so --exe-only prints exactly what is stored.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    try {
        for (int i = 1; i < argc; ++i) args.push_back(ToAnsi(argv[i], static_cast<std::size_t>(i)));
    } catch (const bin2dat::UsageError& error) {
        return bin2dat::ReportUsageError(error, std::cerr);
    }
    return bin2dat::RunBin2dat(args, std::cout, std::cerr);
}
