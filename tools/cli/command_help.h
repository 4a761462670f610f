// What the command-line tools share on top of CLI11.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace autorun_cli {

// CLI11's generated help for one command of `program`: a subcommand's usage line names the program
// too ("Usage: bin2dat write ..."), so that it can be typed as shown.
std::string CommandHelp(const CLI::App& command, const std::string& program);

// Parses `args` (without the program name) left to right.  CLI11 takes its arguments last first and
// pops each as it goes, so `pending` holds, at any moment, what it has not read yet; callbacks may
// look at it to learn where the parse is.
void ParseInOrder(CLI::App& app, const std::vector<std::string>& args, std::vector<std::string>& pending);

}  // namespace autorun_cli
