#include <windows.h>

#include <iostream>

#include "autorun_disc.h"
#include "win32_console_output.h"
#include "win32_path_text.h"

// Arguments arrive as UTF-16 and go on as path text, so that paths may hold any name Windows allows;
// the texts a disc stores in the ANSI code page are converted (or refused) where they are stored.
int wmain(int argc, wchar_t** argv) {
    const autorun::ConsoleOutput out(std::cout, STD_OUTPUT_HANDLE);
    const autorun::ConsoleOutput err(std::cerr, STD_ERROR_HANDLE);
    return autorun_disc::RunAutorunDisc(autorun::PathTextArguments(argc, argv), std::cout, std::cerr);
}
