#include "commands.h"

namespace autorun_disc {

bool CheckCommand(const std::string& target, std::ostream& out) {
    const authoring::CheckReport report = authoring::CheckDiscAt(target);
    for (const authoring::Finding& finding : report.findings) PrintFinding(finding, out);
    const bool starts = report.WouldStartGame();
    out << target << (starts ? ": the disc starts its game\n" : ": the disc would NOT start its game\n");
    return starts;
}

}  // namespace autorun_disc
