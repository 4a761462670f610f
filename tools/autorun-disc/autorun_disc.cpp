#include "autorun_disc.h"

#include "arguments.h"
#include "commands.h"
#include "disc_contents.h"

namespace autorun_disc {

int ReportUsageError(const std::string& message, std::ostream& err) {
    err << "autorun-disc: " << message << '\n';
    return kUsage;
}

int RunAutorunDisc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int status = kSuccess;
    try {
        const Arguments arguments = ParseArguments(args);
        switch (arguments.command) {
            case Command::kHelp:
                out << arguments.helpText;
                break;
            case Command::kMake:
                MakeCommand(arguments, out, err);
                break;
            case Command::kBrand:
                BrandCommand(arguments, out, err);
                break;
            case Command::kCheck:
                status = CheckCommand(arguments, out) ? kSuccess : kFailure;
                break;
        }
    } catch (const UsageError& error) {
        return ReportUsageError(error.what(), err);
    } catch (const std::exception& error) {
        err << "autorun-disc: " << error.what() << '\n';
        return kFailure;
    }
    if (!out.flush()) {
        err << "autorun-disc: cannot write to the standard output\n";
        return kFailure;
    }
    return status;
}

}  // namespace autorun_disc
