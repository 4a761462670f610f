// One run of autorun-disc, apart from how the platform hands over its arguments.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace autorun_disc {

enum ExitStatus { kSuccess = 0, kFailure = 1, kUsage = 2 };

// `args` excludes the program name; texts are in the system's 8-bit encoding.
int RunAutorunDisc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Prints the one-line message for a bad command line and returns the exit status for it.
int ReportUsageError(const std::string& message, std::ostream& err);

}  // namespace autorun_disc
