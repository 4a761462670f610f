#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>

#include "bin2dat.h"
#include "win32_ansi_arguments.h"

int wmain(int argc, wchar_t** argv) {
    // Names are bytes: no "\n" to "\r\n" translation, so --exe-only prints exactly what is stored.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The ANSI code page is what the launcher decodes the name with, so the texts are stored in it.
    std::vector<std::string> args;
    try {
        args = autorun::AnsiArguments(argc, argv);
    } catch (const autorun::ArgumentEncodingError& error) {
        return bin2dat::ReportUsageError(bin2dat::UsageError(bin2dat::Command::kHelp, error.what()),
                                         std::cerr);
    }
    return bin2dat::RunBin2dat(args, std::cout, std::cerr);
}
