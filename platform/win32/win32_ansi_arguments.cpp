#include "win32_ansi_arguments.h"

#include "win32_ansi_text.h"

namespace autorun {

std::vector<std::string> AnsiArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        auto ansi = NarrowToAnsiCodePage(argv[i]);
        if (!ansi)
            throw ArgumentEncodingError("argument " + std::to_string(i) +
                                        " has characters that the ANSI code page cannot represent");
        args.push_back(std::move(*ansi));
    }
    return args;
}

}  // namespace autorun
