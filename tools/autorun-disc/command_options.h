// How each command of autorun-disc reads its options: one file a command, each adding its CLI11
// subcommand, whose callback completes the Arguments once the whole command line is read.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "arguments.h"

namespace autorun_disc {

CLI::App& AddMakeCommand(CLI::App& top, Arguments& arguments);
CLI::App& AddBrandCommand(CLI::App& top, Arguments& arguments);
CLI::App& AddCheckCommand(CLI::App& top, Arguments& arguments);

// make and brand: where the launcher comes from, its picture, icon and names, and its signature.
void AddLauncherOptions(CLI::App& command, authoring::LauncherSources& sources);

// One line: the command, the mistake and where help is.  `command` is nullptr before a command.
UsageError CommandMistake(const CLI::App* command, const std::string& what);
UsageError CommandMistake(const std::string& command, const std::string& what);

constexpr char kWriteStatus[] = "Exit status: 0 written, 1 bad input (nothing is written), 2 bad arguments.";

}  // namespace autorun_disc
