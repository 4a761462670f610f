// The command line of autorun-disc, parsed with CLI11 into what one run has to do.  Parsing does no
// I/O, so that it can be tested and fuzzed.
#pragma once

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

    authoring::DiscProject make;
    authoring::BrandProject brand;
    std::string check;  // an ISO image or a folder
};

// `args` excludes the program name.  Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& args);

}  // namespace autorun_disc
