// bin2dat write: its options and the checks that turn them into Arguments.
#include "command_line.h"
#include "settings_format.h"

namespace bin2dat {
namespace {

struct WriteOptions {
    std::string exe;
    std::string text;
    std::string fill;
};

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

class WriteCommand final : public Subcommand {
   public:
    WriteCommand(CLI::App& top, CommandLine& line)
        : Subcommand(Command::kWrite, top, "write a settings file", line) {
        AddValue("--exe", options_.exe,
                 "REQUIRED: the executable the launcher starts, relative to the launcher's folder; 1 to "
                 "65532 bytes, stored unchanged (the launcher reads them in the Windows ANSI code page)",
                 "NAME");
        AddValue("--text", options_.text,
                 "the file's first text, which the launcher skips; 1 to 65532 bytes, NAME when not given",
                 "TEXT");
        AddValue("--fill", options_.fill,
                 "the unused bytes that round each text up to whole 4-byte words, and the byte between the "
                 "texts (default zero)",
                 "zero|random");
        App().footer(
            "Writes the launch settings file FILE (normally bin2.dat), replacing it if it exists. FILE is\n"
            "written in full or not at all: the bytes go to a temporary file beside it, which then takes\n"
            "its place.\n"
            "\n"
            "Exit status: 0 written, 1 FILE could not be written, 2 bad arguments.");
    }

   private:
    void Finish(Arguments& arguments) const override {
        if (!Given("--exe")) throw UsageError(Command::kWrite, "--exe NAME is required");
        arguments.exeName = SettingsText("--exe", options_.exe);
        // The launcher skips the first text; the name is as good a filler as any and gives away
        // nothing new.
        arguments.text = Given("--text") ? SettingsText("--text", options_.text) : arguments.exeName;
        if (Given("--fill")) arguments.fill = ParseFill(options_.fill);
    }

    WriteOptions options_;
};

}  // namespace

std::unique_ptr<Subcommand> AddWriteCommand(CLI::App& top, CommandLine& line) {
    return std::make_unique<WriteCommand>(top, line);
}

}  // namespace bin2dat
