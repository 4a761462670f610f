// bin2dat read: its option and the checks that turn it into Arguments.
#include "command_line.h"

namespace bin2dat {
namespace {

struct ReadOptions {
    bool exeOnly = false;
};

class ReadCommand final : public Subcommand {
   public:
    ReadCommand(CLI::App& top, CommandLine& line)
        : Subcommand(Command::kRead, top, "show what the launcher will see in a settings file", line) {
        AddFlag("--exe-only", options_.exeOnly,
                "print only the executable's name, exactly its bytes and a newline");
        App().footer(
            "Shows what the launcher sees in the launch settings file FILE: both texts, with bytes other\n"
            "than printable ASCII written as \\xNN, their lengths, the file's size and any trailing bytes\n"
            "the launcher ignores.\n"
            "\n"
            "Exit status: 0 the launcher accepts FILE, 1 it can't open it or finds it damaged,\n"
            "2 bad arguments.");
    }

   private:
    void Finish(Arguments& arguments) const override { arguments.exeOnly = options_.exeOnly; }

    ReadOptions options_;
};

}  // namespace

std::unique_ptr<Subcommand> AddReadCommand(CLI::App& top, CommandLine& line) {
    return std::make_unique<ReadCommand>(top, line);
}

}  // namespace bin2dat
