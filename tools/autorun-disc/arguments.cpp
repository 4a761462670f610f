#include "arguments.h"

#include "command_help.h"
#include "command_options.h"

namespace autorun_disc {
namespace {

constexpr char kDescription[] =
    "Makes a game disc that starts its game with the Autorun launcher: lays out the game, the launcher, "
    "bin2.dat and autorun.inf as a folder or an ISO image, gives the launcher your own splash picture, "
    "icon and names, and checks finished discs.";

struct Parser {
    CLI::App app{kDescription, "autorun-disc"};
    Arguments arguments;
    std::vector<CLI::App*> commands;

    Parser() {
        app.require_subcommand(0, 1);
        commands = {&AddMakeCommand(app, arguments), &AddBrandCommand(app, arguments),
                    &AddCheckCommand(app, arguments)};
        app.footer(
            "'autorun-disc COMMAND --help' describes each command.\n"
            "Exit status: 0 done, 1 bad input or the disc would not start its game, 2 bad arguments.");
    }

    Arguments Parse(const std::vector<std::string>& args) {
        std::vector<std::string> pending;
        try {
            autorun_cli::ParseInOrder(app, args, pending);
        } catch (const CLI::CallForHelp&) {
            return Help(app.help());
        } catch (const CLI::ParseError& error) {
            throw CommandMistake(Parsed(), error.what());
        }
        if (arguments.command == Command::kHelp) return Help(app.help());
        return arguments;
    }

    // CLI11 throws help for a subcommand from the subcommand, so its text comes from there.
    Arguments Help(const std::string& text) const {
        Arguments help;
        help.helpText = text;
        if (const CLI::App* command = Parsed())
            help.helpText = autorun_cli::CommandHelp(*command, "autorun-disc");
        return help;
    }

    const CLI::App* Parsed() const {
        for (const CLI::App* command : commands)
            if (command->parsed()) return command;
        return nullptr;
    }
};

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
    return Parser().Parse(args);
}

}  // namespace autorun_disc
