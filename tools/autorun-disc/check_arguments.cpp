// autorun-disc check: the disc to check.
#include "command_options.h"

namespace autorun_disc {

CLI::App& AddCheckCommand(CLI::App& top, Arguments& arguments) {
    CLI::App& check =
        *top.add_subcommand("check", "check a disc image or folder; exit 1 when it would not start its game");
    check.add_option("ISO_OR_FOLDER", arguments.check, "an ISO image or a folder laid out as a disc")
        ->required();
    check.footer(
        "Exit status: 0 the disc starts its game, 1 it would not or can't be read, 2 bad arguments.");
    check.callback([&arguments] { arguments.command = Command::kCheck; });
    return check;
}

}  // namespace autorun_disc
