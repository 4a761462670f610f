// How every command shows what the library found: findings on the output, warnings on the error stream.
#include "commands.h"

namespace autorun_disc {

void PrintFinding(const authoring::Finding& finding, std::ostream& out) {
    out << authoring::LevelName(finding.level) << ": " << finding.text << '\n';
}

void PrintWarning(const std::string& text, std::ostream& err) {
    err << "autorun-disc: warning: " << text << '\n';
}

}  // namespace autorun_disc
