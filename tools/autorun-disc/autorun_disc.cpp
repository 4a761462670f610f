#include "autorun_disc.h"

#include "arguments.h"
#include "commands.h"
#include "program_location.h"

namespace autorun_disc {
namespace {

int Run(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    switch (arguments.command) {
        case Command::kHelp:
            out << arguments.helpText;
            return kSuccess;
        case Command::kMake:
            MakeCommand(ProjectToMake(arguments), ProgramFolder(), out, err);
            return kSuccess;
        case Command::kBrand:
            BrandCommand(arguments.brand, ProgramFolder(), out, err);
            return kSuccess;
        case Command::kCheck:
            return CheckCommand(arguments.check, out) ? kSuccess : kFailure;
    }
    return kFailure;
}

}  // namespace

int ReportUsageError(const std::string& message, std::ostream& err) {
    err << "autorun-disc: " << message << '\n';
    return kUsage;
}

int RunAutorunDisc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return autorun_cli::RunTool<UsageError>(
        "autorun-disc", out, err, [&] { return Run(ParseArguments(args), out, err); },
        [&](const UsageError& error) { return ReportUsageError(error.what(), err); });
}

}  // namespace autorun_disc
