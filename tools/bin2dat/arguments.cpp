#include "arguments.h"

#include "command_help.h"
#include "command_line.h"

namespace bin2dat {
namespace {

// Shows FILE as what it is, required, although its CLI11 option never takes an argument (see
// Subcommand).
class Formatter : public CLI::Formatter {
   public:
    std::string make_option_usage(const CLI::Option* option) const override {
        return option->get_positional() ? option->get_name() : CLI::Formatter::make_option_usage(option);
    }
};

class Parser {
   public:
    explicit Parser(const std::vector<std::string>& args) : line_(args) {
        app_.formatter(std::make_shared<Formatter>());
        app_.require_subcommand(0, 1);
        app_.allow_extras();
        AddHelpOption(app_, line_, Command::kHelp, [](const std::string& arg) {
            return UsageError(Command::kHelp, "unknown command '" + arg + "'");
        });
        commands_.push_back(AddWriteCommand(app_, line_));
        commands_.push_back(AddReadCommand(app_, line_));
        for (const auto& command : commands_) {
            Subcommand* const parsed = command.get();
            parsed->App().parse_complete_callback([parsed] { parsed->CheckNotCutShort(); });
            parsed->App().callback([this, parsed] { arguments_ = parsed->Conclude(); });
        }
        app_.add_subcommand("help", "show this help")->preparse_callback([](std::size_t) {
            throw HelpRequest{Command::kHelp};
        });
        app_.footer("'bin2dat COMMAND --help' describes each command.");
    }

    Arguments Parse() {
        try {
            autorun_cli::ParseInOrder(app_, line_.Args(), line_.Pending());
        } catch (const HelpRequest& request) {
            CheckEarlierMistakes();
            return Help(request.topic);
        } catch (const CLI::ArgumentMismatch&) {
            // Only an option without a value at the very end stops CLI11 here.
            CheckEarlierMistakes();
            Subcommand& command = Current();
            command.ValueMissing();
            return command.Conclude();
        } catch (const UsageError&) {
            CheckEarlierMistakes();
            throw;
        } catch (const CLI::ParseError& error) {
            CheckEarlierMistakes();
            throw UsageError(Parsed() ? Parsed()->Name() : Command::kHelp, error.what());
        }
        CheckEarlierMistakes();
        if (!Parsed()) throw UsageError(Command::kHelp, "no command given");
        return arguments_;
    }

    std::string HelpText(Command topic) const {
        for (const auto& command : commands_)
            if (command->Name() == topic) return autorun_cli::CommandHelp(command->App(), "bin2dat");
        return autorun_cli::CommandHelp(app_, "bin2dat");
    }

   private:
    // The command comes first; an unknown one is the first mistake whatever CLI11 read after it.
    // Within a command, an unknown option CLI11 set aside came before whatever stopped it.
    void CheckEarlierMistakes() const {
        const std::vector<std::string> setAside = app_.remaining();
        if (!setAside.empty()) throw UsageError(Command::kHelp, "unknown command '" + setAside.front() + "'");
        if (const Subcommand* command = Parsed()) command->CheckSetAside();
    }

    Arguments Help(Command topic) const {
        // The overview takes no arguments: "bin2dat --help write" is a mistake, not a question.
        if (topic == Command::kHelp && line_.Args().size() > 1)
            throw UsageError(Command::kHelp, "unexpected argument '" + line_.Args()[1] + "'");
        Arguments arguments;
        arguments.helpTopic = topic;
        return arguments;
    }

    Subcommand* Parsed() const {
        for (const auto& command : commands_)
            if (command->App().parsed()) return command.get();
        return nullptr;
    }

    Subcommand& Current() const {
        Subcommand* command = Parsed();
        if (!command) throw UsageError(Command::kHelp, "no command given");
        return *command;
    }

    CommandLine line_;
    CLI::App app_{
        "Writes and inspects the launch settings file (bin2.dat) that tells the disc's launcher which "
        "executable to start.",
        "bin2dat"};
    std::vector<std::unique_ptr<Subcommand>> commands_;
    Arguments arguments_;
};

}  // namespace

std::string CommandName(Command command) {
    switch (command) {
        case Command::kWrite:
            return "write";
        case Command::kRead:
            return "read";
        case Command::kHelp:
            break;
    }
    return "";
}

Arguments ParseArguments(const std::vector<std::string>& args) {
    return Parser(args).Parse();
}

std::string HelpText(Command topic) {
    return Parser({}).HelpText(topic);
}

}  // namespace bin2dat
