#include "commands.h"
#include "disc_authoring.h"

namespace autorun_disc {

void BrandCommand(const authoring::BrandProject& project, const std::filesystem::path& toolFolder,
                  std::ostream& out, std::ostream& err) {
    const authoring::WrittenLauncher launcher = authoring::BrandLauncherFile(
        project, {toolFolder, nullptr, [&](const std::string& text) { PrintWarning(text, err); }});
    out << project.output
        << (launcher.isSigned ? ": signed launcher written (" : ": branded launcher written (")
        << launcher.bytes << " bytes)\n";
}

}  // namespace autorun_disc
