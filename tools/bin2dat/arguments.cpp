#include "arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <climits>
#include <map>

#include "settings_format.h"

namespace bin2dat {
namespace {

struct OptionNames {
    std::vector<std::string> withValue;
    std::vector<std::string> flags;
};

// What CLI11 made of one command's arguments.
struct SplitArguments {
    bool help = false;
    std::map<std::string, std::vector<std::string>> options;
    std::map<std::string, int> flags;
    std::vector<std::string> operands;
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

// The command line read left to right as bin2dat always has, so that of several mistakes the first
// is reported, and "--help" shows help whatever follows it.  What it hands CLI11 follows getopt's
// rules, which CLI11 lacks, in CLI11's spelling: a value may begin with "-" ("--exe -h" becomes
// "--exe=-h"), an empty value stays a separate argument (CLI11 reads "--exe=" as no value at all),
// and a flag takes no value (CLI11 would read "--exe-only=yes" as true).  Arguments after "--" are
// operands and never reach CLI11.
struct Screened {
    std::vector<std::string> forCli11;
    std::vector<std::string> operandsAfterDashes;
    bool help = false;
};

Screened Screen(Command command, const std::vector<std::string>& args, const OptionNames& names) {
    Screened screened;
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            screened.operandsAfterDashes.assign(args.begin() + long(i) + 1, args.end());
            break;
        }
        if (!IsOption(arg)) {
            screened.forCli11.push_back(arg);
            continue;
        }
        if (IsHelp(arg)) {
            screened.help = true;
            break;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const bool flag = Contains(names.flags, name);
        if (!flag && !Contains(names.withValue, name))
            throw UsageError(command, "unknown option '" + arg + "'");
        if (Contains(seen, name)) throw UsageError(command, name + " is given more than once");
        seen.push_back(name);
        if (flag) {
            if (equals != std::string::npos) throw UsageError(command, name + " takes no value");
            screened.forCli11.push_back(name);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError(command, name + " needs a value");
        }
        if (value.empty()) {
            screened.forCli11.push_back(name);
            screened.forCli11.push_back(value);
        } else {
            screened.forCli11.push_back(name + "=" + value);
        }
    }
    return screened;
}

SplitArguments Split(Command command, const std::vector<std::string>& args, const OptionNames& names) {
    SplitArguments split;
    Screened screened = Screen(command, args, names);
    split.help = screened.help;
    if (split.help) return split;

    CLI::App app;
    app.set_help_flag();  // help was screened out above; its texts are bin2dat's own
    for (const std::string& name : names.withValue)
        app.add_option(name, split.options[name])->expected(1)->allow_extra_args(false);
    for (const std::string& name : names.flags) app.add_flag(name, split.flags[name]);
    app.add_option("FILE", split.operands)->expected(0, INT_MAX);

    std::reverse(screened.forCli11.begin(), screened.forCli11.end());  // CLI11 takes them last first
    try {
        app.parse(screened.forCli11);
    } catch (const CLI::ParseError& error) {
        throw UsageError(command, error.what());
    }
    split.operands.insert(split.operands.end(), screened.operandsAfterDashes.begin(),
                          screened.operandsAfterDashes.end());
    return split;
}

const std::string* Value(const SplitArguments& split, const std::string& name) {
    const auto found = split.options.find(name);
    return found == split.options.end() || found->second.empty() ? nullptr : &found->second.front();
}

std::string TheFile(Command command, const std::vector<std::string>& operands) {
    if (operands.empty()) throw UsageError(command, "no FILE given");
    if (operands.size() > 1) throw UsageError(command, "unexpected argument '" + operands[1] + "'");
    return operands[0];
}

Arguments HelpFor(Command topic) {
    Arguments arguments;
    arguments.helpTopic = topic;
    return arguments;
}

Fill ParseFill(const std::string& value) {
    if (value == "zero") return Fill::kZero;
    if (value == "random") return Fill::kRandom;
    throw UsageError(Command::kWrite, "--fill must be zero or random, not '" + value + "'");
}

// A text of the settings file, checked here so that the error can name its option.
std::string SettingsText(const std::string& option, const std::string& value) {
    if (value.size() < autorun::kMinTextLength || value.size() > autorun::kMaxTextLength)
        throw UsageError(Command::kWrite, option + " is " + std::to_string(value.size()) +
                                              " bytes long; the format takes " +
                                              std::to_string(autorun::kMinTextLength) + " to " +
                                              std::to_string(autorun::kMaxTextLength));
    return value;
}

Arguments ParseWrite(const std::vector<std::string>& args) {
    const SplitArguments split = Split(Command::kWrite, args, {{"--exe", "--text", "--fill"}, {}});
    if (split.help) return HelpFor(Command::kWrite);

    Arguments arguments;
    arguments.command = Command::kWrite;
    arguments.file = TheFile(Command::kWrite, split.operands);
    const std::string* exe = Value(split, "--exe");
    if (!exe) throw UsageError(Command::kWrite, "--exe NAME is required");
    arguments.exeName = SettingsText("--exe", *exe);
    // The launcher skips the first text; the name is as good a filler as any and gives away nothing new.
    const std::string* text = Value(split, "--text");
    arguments.text = text ? SettingsText("--text", *text) : arguments.exeName;
    if (const std::string* fill = Value(split, "--fill")) arguments.fill = ParseFill(*fill);
    return arguments;
}

Arguments ParseRead(const std::vector<std::string>& args) {
    const SplitArguments split = Split(Command::kRead, args, {{}, {"--exe-only"}});
    if (split.help) return HelpFor(Command::kRead);

    Arguments arguments;
    arguments.command = Command::kRead;
    arguments.file = TheFile(Command::kRead, split.operands);
    arguments.exeOnly = split.flags.at("--exe-only") > 0;
    return arguments;
}

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
    if (args.empty()) throw UsageError(Command::kHelp, "no command given");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    const std::string& command = args[0];
    if (command == "write") return ParseWrite(rest);
    if (command == "read") return ParseRead(rest);
    if (command == "--help" || command == "-h" || command == "help") {
        if (!rest.empty()) throw UsageError(Command::kHelp, "unexpected argument '" + rest[0] + "'");
        return HelpFor(Command::kHelp);
    }
    throw UsageError(Command::kHelp, "unknown command '" + command + "'");
}

const char* HelpText(Command topic) {
    switch (topic) {
        case Command::kWrite:
            return "Usage: bin2dat write --exe NAME [--text TEXT] [--fill zero|random] FILE\n"
                   "\n"
                   "Writes the launch settings file FILE (normally bin2.dat), replacing it if it exists.\n"
                   "FILE is written in full or not at all: the bytes go to a temporary file beside it,\n"
                   "which then takes its place.\n"
                   "\n"
                   "  --exe NAME    the executable the launcher starts, relative to the launcher's folder;\n"
                   "                1 to 65532 bytes, stored unchanged (the launcher reads them in the\n"
                   "                Windows ANSI code page)\n"
                   "  --text TEXT   the file's first text, which the launcher skips; 1 to 65532 bytes,\n"
                   "                NAME when not given\n"
                   "  --fill zero|random\n"
                   "                the unused bytes that round each text up to whole 4-byte words, and\n"
                   "                the byte between the texts (default zero)\n"
                   "  -h, --help    show this help\n"
                   "\n"
                   "Exit status: 0 written, 1 FILE could not be written, 2 bad arguments.\n";
        case Command::kRead:
            return "Usage: bin2dat read [--exe-only] FILE\n"
                   "\n"
                   "Shows what the launcher sees in the launch settings file FILE: both texts, with bytes\n"
                   "other than printable ASCII written as \\xNN, their lengths, the file's size and any\n"
                   "trailing bytes the launcher ignores.\n"
                   "\n"
                   "  --exe-only    print only the executable's name, exactly its bytes and a newline\n"
                   "  -h, --help    show this help\n"
                   "\n"
                   "Exit status: 0 the launcher accepts FILE, 1 it can't open it or finds it damaged,\n"
                   "2 bad arguments.\n";
        case Command::kHelp:
            break;
    }
    return "Usage: bin2dat write --exe NAME [--text TEXT] [--fill zero|random] FILE\n"
           "       bin2dat read [--exe-only] FILE\n"
           "       bin2dat --help\n"
           "\n"
           "Writes and inspects the launch settings file (bin2.dat) that tells the disc's launcher\n"
           "which executable to start.\n"
           "\n"
           "  write     write a settings file\n"
           "  read      show what the launcher will see in a settings file\n"
           "\n"
           "'bin2dat COMMAND --help' describes each command.\n";
}

}  // namespace bin2dat
