// One run of bin2dat, apart from how the platform hands over its arguments.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "arguments.h"

namespace bin2dat {

enum ExitStatus { kSuccess = 0, kFailure = 1, kUsage = 2 };

// `args` excludes the program name; texts are in the system's 8-bit encoding.
int RunBin2dat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Prints the one-line message for a bad command line and returns the exit status for it.
int ReportUsageError(const UsageError& error, std::ostream& err);

}  // namespace bin2dat
