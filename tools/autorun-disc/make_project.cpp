// make --project: the project file read, and the command line's options laid over it.
#include "arguments.h"
#include "command_options.h"
#include "project_file.h"
#include "text_encoding.h"

namespace autorun_disc {
namespace {

void Override(std::optional<std::string>& value, const std::optional<std::string>& given) {
    if (given) value = given;
}

void Override(std::string& value, const std::string& given) {
    if (!given.empty()) value = given;
}

void OverrideLauncher(authoring::LauncherSources& sources, const authoring::LauncherSources& given) {
    Override(sources.launcher, given.launcher);
    Override(sources.splash, given.splash);
    Override(sources.icon, given.icon);
    Override(sources.product, given.product);
    Override(sources.company, given.company);
    Override(sources.signing.pfx, given.signing.pfx);
    Override(sources.signing.passwordFile, given.signing.passwordFile);
    Override(sources.signing.timestampUrl, given.signing.timestampUrl);
}

}  // namespace

authoring::DiscProject ProjectToMake(const Arguments& arguments) {
    if (!arguments.makeProject) return arguments.make;
    authoring::DiscProject project = authoring::ReadProjectFile(authoring::FilePath(*arguments.makeProject));
    const authoring::DiscProject& given = arguments.make;
    Override(project.gameFolder, given.gameFolder);
    Override(project.exe, given.exe);
    Override(project.linuxExe, given.linuxExe);
    Override(project.linuxLauncher, given.linuxLauncher);
    OverrideLauncher(project.launcher, given.launcher);
    Override(project.label, given.label);
    Override(project.media, given.media);
    if (!given.output.empty()) {
        project.outputKind = given.outputKind;
        project.output = given.output;
    }
    project.replace = project.replace || given.replace;
    if (const std::optional<std::string> mistake = MakeMistake(project))
        throw CommandMistake("make", *mistake);
    return project;
}

}  // namespace autorun_disc
