#include "commands.h"
#include "disc_authoring.h"
#include "disc_media.h"

namespace autorun_disc {

void MakeCommand(const authoring::DiscProject& project, const std::filesystem::path& toolFolder,
                 std::ostream& out, std::ostream& err) {
    const std::string& target = project.output;
    const authoring::AuthoringRun run{
        toolFolder,
        [&](double share) {
            out << "writing " << target << ": " << int(share * 100 + 0.5) << "%\n" << std::flush;
        },
        [&](const std::string& text) { PrintWarning(text, err); }};
    const authoring::MadeDisc made = authoring::MakeDisc(project, run);
    if (project.outputKind == authoring::OutputKind::kFolder) {
        out << target << ": disc folder written (" << made.files << " files)\n";
        for (const authoring::Finding& finding : made.report.findings)
            if (finding.aboutMedium) PrintFinding(finding, out);
        out << target << ": burnt as a disc, at most " << authoring::FitSummary(made.sectors) << '\n';
        return;
    }
    out << target << ": ISO image written, volume \"" << made.label << "\"\n"
        << target << ": " << authoring::FitSummary(made.sectors) << '\n';
}

}  // namespace autorun_disc
