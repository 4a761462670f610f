#include "command_line.h"

#include <algorithm>
#include <utility>

#include "disc_file_names.h"

namespace bin2dat {
namespace {

// CLI11 callbacks never fail on their own: every mistake is thrown as UsageError.
CLI::callback_t Calls(std::function<void()> function) {
    return [function = std::move(function)](const CLI::results_t&) {
        function();
        return true;
    };
}

}  // namespace

bool LooksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

void AddHelpOption(CLI::App& app, CommandLine& line, Command topic,
                   std::function<UsageError(const std::string&)> unknown) {
    app.set_help_flag();
    app.add_option("-h,--help", Calls([&line, topic, unknown = std::move(unknown)] {
                       const std::string& arg = line.LastRead();
                       if (arg != "-h" && arg != "--help") throw unknown(arg);
                       throw HelpRequest{topic};
                   }),
                   "show this help")
        ->type_size(0)
        ->expected(0)
        ->trigger_on_parse();
}

Subcommand::Subcommand(Command command, CLI::App& top, const std::string& description, CommandLine& line)
    : command_(command), app_(*top.add_subcommand(CommandName(command), description)), line_(line) {
    AddHelpOption(app_, line_, command_, [command](const std::string& arg) {
        return UsageError(command, "unknown option '" + arg + "'");
    });
    app_.allow_extras();
    app_.validate_positionals();
    // Takes no argument, so that operands stay in app.remaining() in order with unknown options; as
    // it always lacks one, "--" stays this command's too instead of handing the rest back.
    app_.add_option("FILE", Calls([] {}),
                    std::string("the launch settings file, normally ") + autorun::kSettingsFileName)
        ->expected(1)
        ->check(CLI::Validator([](std::string&) { return std::string("an operand"); }, "", ""));
}

void Subcommand::Seen(const std::string& name) {
    if (Given(name)) throw UsageError(command_, name + " is given more than once");
    seen_.push_back(name);
}

bool Subcommand::Given(const std::string& name) const {
    return std::find(seen_.begin(), seen_.end(), name) != seen_.end();
}

void Subcommand::AddValue(const std::string& name, std::string& value, const std::string& description,
                          const std::string& valueName) {
    app_.add_option(
            name,
            [this, name, &value](const CLI::results_t& results) {
                Seen(name);
                value = results.empty() ? std::string() : results.front();
                // CLI11 reads "--exe=" like "--exe" and takes the next argument, which is no value here.
                const bool inOne = line_.LastRead() == name + "=" + value;
                if (!inOne && line_.Args()[line_.Read() - 2] == name + "=") {
                    value.clear();
                    line_.Unread();
                }
                line_.Taken();
                return true;
            },
            description)
        ->type_name(valueName)
        ->expected(1)
        ->allow_extra_args(false)
        ->trigger_on_parse();
    values_.push_back(&value);
    valueNames_.push_back(name);
}

void Subcommand::AddFlag(const std::string& name, bool& flag, const std::string& description) {
    app_.add_option(name, Calls([this, name, &flag] {
                        Seen(name);
                        if (line_.LastRead() != name) throw UsageError(command_, name + " takes no value");
                        flag = true;
                        line_.Taken();
                    }),
                    description)
        ->type_size(0)
        ->expected(0)
        ->trigger_on_parse();
}

void Subcommand::ValueMissing() {
    const std::string& arg = line_.Args().back();
    const std::string name = arg.substr(0, arg.find('='));
    const auto option = std::find(valueNames_.begin(), valueNames_.end(), name);
    if (option == valueNames_.end()) throw UsageError(command_, arg + " needs a value");
    Seen(name);
    // "--exe=" is an empty value, a mistake the command's own checks name.
    if (arg.size() == name.size()) throw UsageError(command_, name + " needs a value");
    values_[std::size_t(option - valueNames_.begin())]->clear();
}

std::vector<std::string> Subcommand::Operands(bool checkOptions) const {
    std::vector<std::string> operands;
    bool dashes = false;
    for (const std::string& arg : app_.remaining()) {
        if (!dashes && arg == "--") {
            dashes = true;
        } else if (!dashes && LooksLikeOption(arg)) {
            if (checkOptions) throw UsageError(command_, "unknown option '" + arg + "'");
        } else {
            operands.push_back(arg);
        }
    }
    return operands;
}

std::string Subcommand::TheFile() const {
    const std::vector<std::string> operands = Operands(false);
    if (operands.empty()) throw UsageError(command_, "no FILE given");
    if (operands.size() > 1) throw UsageError(command_, "unexpected argument '" + operands[1] + "'");
    return operands[0];
}

void Subcommand::CheckNotCutShort() const {
    const std::vector<std::string> setAside = app_.remaining();
    const bool afterDashes = std::find(setAside.begin(), setAside.end(), "--") != setAside.end();
    const bool cut = !line_.Pending().empty() || (line_.Read() > line_.TakenUpTo() && !afterDashes);
    if (cut && line_.LastRead() == "++") throw UsageError(command_, "unexpected argument '++'");
}

Arguments Subcommand::Conclude() const {
    Operands(true);
    Arguments arguments;
    arguments.command = command_;
    arguments.file = TheFile();
    Finish(arguments);
    return arguments;
}

}  // namespace bin2dat
