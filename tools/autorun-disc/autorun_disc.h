// One run of autorun-disc, apart from how the platform hands over its arguments.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tool_run.h"

namespace autorun_disc {

using autorun_cli::kFailure;
using autorun_cli::kSuccess;
using autorun_cli::kUsage;

// `args` excludes the program name; texts are UTF-8 (on Windows paths are WTF-8, see text_encoding.h).
int RunAutorunDisc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Prints the one-line message for a bad command line and returns the exit status for it.
int ReportUsageError(const std::string& message, std::ostream& err);

}  // namespace autorun_disc
