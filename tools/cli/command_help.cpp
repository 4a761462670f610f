#include "command_help.h"

namespace autorun_cli {

std::string CommandHelp(const CLI::App& command, const std::string& program) {
    std::string text = command.help();
    if (command.get_parent() == nullptr) return text;
    const std::string usage = "Usage: " + command.get_name();
    const auto at = text.find(usage);
    if (at != std::string::npos)
        text.replace(at, usage.size(), "Usage: " + program + " " + command.get_name());
    return text;
}

void ParseInOrder(CLI::App& app, const std::vector<std::string>& args, std::vector<std::string>& pending) {
    pending.assign(args.rbegin(), args.rend());
    app.parse(pending);
}

}  // namespace autorun_cli
