#include "bin2dat.h"

#include "commands.h"
#include "escaping.h"

namespace bin2dat {
namespace {

std::string Program(Command command) {
    const std::string name = CommandName(command);
    return name.empty() ? "bin2dat" : "bin2dat " + name;
}

void Run(const Arguments& arguments, std::ostream& out) {
    switch (arguments.command) {
        case Command::kHelp:
            out << HelpText(arguments.helpTopic);
            break;
        case Command::kWrite:
            WriteCommand(arguments);
            break;
        case Command::kRead:
            ReadCommand(arguments, out);
            break;
    }
}

}  // namespace

int ReportUsageError(const UsageError& error, std::ostream& err) {
    const std::string program = Program(error.topic());
    // The message may quote what was typed, control characters and all.
    err << program << ": " << EscapeBytes(error.what()) << " (see " << program << " --help)\n";
    return kUsage;
}

int RunBin2dat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return autorun_cli::RunTool<UsageError>(
        "bin2dat", out, err,
        [&] {
            Run(ParseArguments(args), out);
            return kSuccess;
        },
        [&](const UsageError& error) { return ReportUsageError(error, err); });
}

}  // namespace bin2dat
