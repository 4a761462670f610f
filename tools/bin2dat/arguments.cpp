#include "arguments.h"

#include <algorithm>
#include <map>

#include "settings_format.h"

namespace bin2dat {
namespace {

struct OptionNames {
    std::vector<std::string> withValue;
    std::vector<std::string> flags;
};

struct SplitArguments {
    bool help = false;
    std::map<std::string, std::string> options;  // a flag maps to ""
    std::vector<std::string> operands;
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

// Separates options from operands, getopt style: "--name value" and "--name=value" both work, a
// value may begin with "-", and "--" makes everything after it an operand.
SplitArguments Split(Command command, const std::vector<std::string>& args, const OptionNames& names) {
    SplitArguments split;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            split.operands.insert(split.operands.end(), args.begin() + i + 1, args.end());
            break;
        }
        if (!IsOption(arg)) {
            split.operands.push_back(arg);
            continue;
        }
        if (arg == "--help" || arg == "-h") return SplitArguments{true, {}, {}};

        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (split.options.count(name)) throw UsageError(command, name + " is given more than once");
        if (Contains(names.flags, name)) {
            if (equals != std::string::npos) throw UsageError(command, name + " takes no value");
            split.options[name];
        } else if (Contains(names.withValue, name)) {
            if (equals != std::string::npos) {
                split.options[name] = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                split.options[name] = args[++i];
            } else {
                throw UsageError(command, name + " needs a value");
            }
        } else {
            throw UsageError(command, "unknown option '" + arg + "'");
        }
    }
    return split;
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
    SplitArguments split = Split(Command::kWrite, args, {{"--exe", "--text", "--fill"}, {}});
    if (split.help) return HelpFor(Command::kWrite);

    Arguments arguments;
    arguments.command = Command::kWrite;
    arguments.file = TheFile(Command::kWrite, split.operands);
    const auto exe = split.options.find("--exe");
    if (exe == split.options.end()) throw UsageError(Command::kWrite, "--exe NAME is required");
    arguments.exeName = SettingsText("--exe", exe->second);
    // The launcher skips the first text; the name is as good a filler as any and gives away nothing new.
    const auto text = split.options.find("--text");
    arguments.text = text == split.options.end() ? arguments.exeName : SettingsText("--text", text->second);
    const auto fill = split.options.find("--fill");
    if (fill != split.options.end()) arguments.fill = ParseFill(fill->second);
    return arguments;
}

Arguments ParseRead(const std::vector<std::string>& args) {
    SplitArguments split = Split(Command::kRead, args, {{}, {"--exe-only"}});
    if (split.help) return HelpFor(Command::kRead);

    Arguments arguments;
    arguments.command = Command::kRead;
    arguments.file = TheFile(Command::kRead, split.operands);
    arguments.exeOnly = split.options.count("--exe-only") != 0;
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
