// MakeDisc: a project's inputs read and checked, the disc laid out, checked as `check` would, and
// written as an image or a folder.
#include <system_error>

#include "autorun_sh.h"
#include "disc_authoring.h"
#include "disc_file_names.h"
#include "disc_layout.h"
#include "disc_media.h"
#include "elf_image.h"
#include "folder_tree.h"
#include "launcher_sources.h"
#include "reproducible_time.h"
#include "split_file_check.h"
#include "text_encoding.h"

namespace authoring {
namespace {

std::string Label(const DiscProject& project) {
    return project.label ? *project.label : DefaultLabel(project.gameFolder);
}

std::string ActionText(const DiscProject& project, const std::string& label) {
    return "Play " + (project.launcher.product ? *project.launcher.product : label);
}

// An output inside the game folder would go onto the next disc made from it.
void RequireOutsideGame(const DiscProject& project) {
    std::error_code error;
    const auto root = std::filesystem::weakly_canonical(FilePath(project.gameFolder), error);
    const auto relative =
        std::filesystem::weakly_canonical(FilePath(project.output), error).lexically_relative(root);
    if (!error && !relative.empty() && *relative.begin() != "..")
        throw DiscError(project.output + ": lies inside the game folder " + project.gameFolder +
                        "; write it elsewhere");
}

Bytes LinuxLauncher(const DiscProject& project, const std::filesystem::path& toolFolder) {
    const std::filesystem::path path =
        project.linuxLauncher ? FilePath(*project.linuxLauncher) : toolFolder / autorun::kLinuxLauncherName;
    const std::string text = PathText(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(autorun::SystemPath(path), error))
        throw DiscError(text + (project.linuxLauncher
                                    ? ": no such file (the Linux launcher for --linux-exe)"
                                    : ": no Linux launcher beside autorun-disc; name one with "
                                      "--linux-launcher FILE"));
    Bytes launcher = ReadFileAt(path);
    if (const auto problem = X8664ExecutableProblem(launcher))
        throw DiscError(text + ": " + *problem + " (the Linux launcher for --linux-exe)");
    return launcher;
}

std::optional<LinuxPlan> LinuxSide(const DiscProject& project, const AuthoringRun& run) {
    if (!project.linuxExe) return std::nullopt;
    LinuxPlan side{*project.linuxExe, LinuxLauncher(project, run.toolFolder), kAutorunScript};
    if (project.outputKind == OutputKind::kFolder && !FoldersKeepUnixModes() && run.warning)
        run.warning(project.output +
                    ": Windows keeps no Unix file modes: the Linux launcher and game are marked executable "
                    "in ISO images only; from this folder, whether Linux may run the game depends on how "
                    "the desktop mounts the medium");
    return side;
}

// What `make` would write must pass `check`: nothing is written otherwise.
CheckReport RequireStartingDisc(const DiscContents& contents, const DiscProject& project) {
    CheckReport report = CheckDisc(*ReadContents(contents, project.outputKind == OutputKind::kFolder));
    if (const Finding* problem = report.FirstProblem())
        throw DiscError(project.output + ": the disc would not start its game: " + problem->text);
    return report;
}

// --media refuses a disc too large for the medium before anything is written.
void RequireFit(const DiscProject& project, std::uint64_t sectors) {
    if (!project.media) return;
    const Medium* medium = FindMedium(*project.media);
    if (!medium) throw DiscError(*project.media + ": no such medium (cd, dvd, dvd-dl, bd or bd-dl)");
    if (const auto problem = FitProblem(*medium, sectors)) throw DiscError(project.output + ": " + *problem);
}

void WarnOfSplitFiles(const DiscContents& contents, const AuthoringRun& run) {
    if (!run.warning) return;
    for (const DiscFile& file : contents.files) {
        const std::uint64_t size = DiscFileSize(file);
        if (size > kLargestSingleExtentFile)
            run.warning(SplitFileWarning(PathText(file.path), size, std::size_t(ExtentsFor(size))));
    }
}

// The launcher branded and the disc laid out: everything but the writing.
DiscContents LayOutProject(const DiscProject& project, const AuthoringRun& run) {
    DiscPlan plan;
    plan.gameFolder = project.gameFolder;
    plan.exe = project.exe;
    plan.label = Label(project);
    plan.action = ActionText(project, plan.label);
    plan.launcher = FinishedLauncher(project.launcher, run);
    plan.linuxSide = LinuxSide(project, run);
    return LayOutDisc(plan);
}

}  // namespace

MadeDisc MakeDisc(const DiscProject& project, const AuthoringRun& run) {
    const bool folder = project.outputKind == OutputKind::kFolder;
    RequireOutsideGame(project);
    SourceDate();  // a bad date is refused before any work, not after the branding's warnings

    const DiscContents contents = LayOutProject(project, run);
    MadeDisc made{contents.label, contents.files.size(), 0, RequireStartingDisc(contents, project)};
    if (folder) {
        made.sectors = EstimateImageSectors(contents);
        RequireFit(project, made.sectors);
        WriteDiscFolder(contents, project.output, project.replace, run.progress);
        return made;
    }
    made.sectors =
        WriteDiscIso(contents, project.output, project.replace, run.progress, [&](std::uint64_t needed) {
            RequireFit(project, needed);
            WarnOfSplitFiles(contents, run);
        });
    return made;
}

std::string DefaultLabel(const std::string& gameFolder) {
    const std::filesystem::path game = FilePath(gameFolder).lexically_normal();
    const std::string name = PathText((game.has_filename() ? game : game.parent_path()).filename());
    return name.empty() || name == "." ? "GAME" : name;
}

std::uint64_t EstimateDiscSectors(const DiscProject& project, const AuthoringRun& run) {
    return EstimateImageSectors(LayOutProject(project, {run.toolFolder, {}, {}}));
}

}  // namespace authoring
