// The command line of autorun-disc, parsed with CLI11 into what one run has to do.  Parsing does no
// I/O, so that it can be tested and fuzzed.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "disc_project.h"

namespace autorun_disc {

enum class Command { kHelp, kMake, kBrand, kCheck };

// A command line that makes no sense; what() is one line for the user.
class UsageError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

struct Arguments {
    Command command = Command::kHelp;
    std::string helpText;  // kHelp: what to print

    authoring::DiscProject make;             // with --project: only what the command line gives
    std::optional<std::string> makeProject;  // make --project FILE, read when the command runs
    authoring::BrandProject brand;
    std::string check;  // an ISO image or a folder
};

// `args` excludes the program name.  Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& args);

// What make lacks or contradicts, or nothing: checked on the command line alone, or with --project
// once the file is read.
std::optional<std::string> MakeMistake(const authoring::DiscProject& project);

// make's project: the command line's, or the project file's with the command line's options on top.
// Throws authoring::DiscError for the file, UsageError for what neither gives.
authoring::DiscProject ProjectToMake(const Arguments& arguments);

}  // namespace autorun_disc
