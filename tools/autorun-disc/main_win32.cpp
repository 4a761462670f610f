#include <iostream>

#include "autorun_disc.h"
#include "win32_ansi_arguments.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    try {
        args = autorun::AnsiArguments(argc, argv);
    } catch (const autorun::ArgumentEncodingError& error) {
        return autorun_disc::ReportUsageError(std::string(error.what()) + " (see autorun-disc --help)",
                                              std::cerr);
    }
    return autorun_disc::RunAutorunDisc(args, std::cout, std::cerr);
}
