#include <filesystem>
#include <system_error>

#include "commands.h"
#include "disc_check.h"
#include "disc_reader.h"

namespace autorun_disc {

bool CheckCommand(const Arguments& arguments, std::ostream& out) {
    std::error_code error;
    const bool folder = std::filesystem::is_directory(arguments.target, error);
    if (!folder && !std::filesystem::is_regular_file(arguments.target, error))
        throw authoring::DiscError(arguments.target + ": no such image or folder");
    const auto disc =
        folder ? authoring::ReadFolder(arguments.target) : authoring::ReadIsoImage(arguments.target);
    const authoring::CheckReport report = authoring::CheckDisc(*disc);
    for (const authoring::Finding& finding : report.findings)
        out << authoring::LevelName(finding.level) << ": " << finding.text << '\n';
    const bool starts = report.WouldStartGame();
    out << arguments.target
        << (starts ? ": the disc starts its game\n" : ": the disc would NOT start its game\n");
    return starts;
}

}  // namespace autorun_disc
