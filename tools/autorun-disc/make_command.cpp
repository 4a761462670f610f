#include <cstdio>
#include <filesystem>
#include <system_error>

#include "commands.h"
#include "disc_check.h"
#include "disc_file_names.h"
#include "disc_layout.h"
#include "disc_media.h"
#include "disc_output.h"
#include "disc_reader.h"
#include "linux_inputs.h"
#include "signing_inputs.h"
#include "split_file_check.h"
#include "text_encoding.h"

namespace autorun_disc {
namespace {

std::string Label(const Arguments& arguments) {
    if (arguments.label) return *arguments.label;
    const std::filesystem::path game = std::filesystem::path(arguments.game).lexically_normal();
    const std::string name =
        authoring::PathText((game.has_filename() ? game : game.parent_path()).filename());
    return name.empty() || name == "." ? "GAME" : name;
}

std::string ActionText(const Arguments& arguments, const std::string& label) {
    return "Play " + (arguments.branding.product ? *arguments.branding.product : label);
}

// An output inside the game folder would go onto the next disc made from it.
void RequireOutsideGame(const std::string& target, const std::string& game) {
    std::error_code error;
    const auto root = std::filesystem::weakly_canonical(game, error);
    const auto relative = std::filesystem::weakly_canonical(target, error).lexically_relative(root);
    if (!error && !relative.empty() && *relative.begin() != "..")
        throw authoring::DiscError(target + ": lies inside the game folder " + game + "; write it elsewhere");
}

// What `make` would write must pass `check`: nothing is written otherwise.
void RequireStartingDisc(const authoring::DiscContents& contents, bool folder, const std::string& target) {
    const auto report = authoring::CheckDisc(*authoring::ReadContents(contents, folder));
    if (const authoring::Finding* problem = report.FirstProblem())
        throw authoring::DiscError(target + ": the disc would not start its game: " + problem->text);
}

// --media refuses a disc too large for the medium before anything is written.
void RequireFit(const Arguments& arguments, const std::string& target, std::uint64_t sectors) {
    if (!arguments.media) return;
    if (const auto problem = authoring::FitProblem(*authoring::FindMedium(*arguments.media), sectors))
        throw authoring::DiscError(target + ": " + *problem);
}

void WarnOfSplitFiles(const authoring::DiscContents& contents, std::ostream& err) {
    for (const authoring::DiscFile& file : contents.files) {
        const std::uint64_t size = authoring::DiscFileSize(file);
        if (size > authoring::kLargestSingleExtentFile)
            err << "autorun-disc: warning: "
                << authoring::SplitFileWarning(authoring::PathText(file.path), size,
                                               authoring::ExtentsFor(size))
                << '\n';
    }
}

}  // namespace

void MakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const bool folder = arguments.folder.has_value();
    const std::string target = folder ? *arguments.folder : *arguments.iso;
    if (!folder && !authoring::CanWriteIso())
        throw authoring::DiscError(target +
                                   ": this build writes folders only (--folder); burn the folder with a "
                                   "disc burning program, or make the ISO with the Linux build");

    RequireOutsideGame(target, arguments.game);
    const auto progress = [&](double share) {
        out << "writing " << target << ": " << int(share * 100 + 0.5) << "%\n" << std::flush;
    };

    authoring::DiscPlan plan;
    plan.gameFolder = arguments.game;
    plan.exe = arguments.exe;
    plan.label = Label(arguments);
    plan.action = ActionText(arguments, plan.label);
    plan.launcher = FinishedLauncher(arguments, err);
    plan.linuxSide = LinuxSide(arguments);
    if (plan.linuxSide && folder && !authoring::FoldersKeepUnixModes())
        err << "autorun-disc: warning: " << target
            << ": Windows keeps no Unix file modes: the Linux launcher and game are marked executable "
               "in ISO images only; from this folder, whether Linux may run the game depends on how the "
               "desktop mounts the medium\n";

    const authoring::DiscContents contents = authoring::LayOutDisc(plan);
    RequireStartingDisc(contents, folder, target);

    if (folder) {
        const std::uint64_t sectors = authoring::EstimateImageSectors(contents);
        RequireFit(arguments, target, sectors);
        authoring::WriteDiscFolder(contents, target, arguments.force, progress);
        out << target << ": disc folder written (" << contents.files.size() << " files)\n"
            << "note: Windows 7 and later don't start programs from USB sticks by themselves: the stick "
               "shows its label and icon, and the player starts "
            << autorun::kLauncherExeName << " by hand (XP with SP2 asks first)\n"
            << target << ": burnt as a disc, at most " << authoring::FitSummary(sectors) << '\n';
        return;
    }
    const std::uint64_t sectors =
        authoring::WriteDiscIso(contents, target, arguments.force, progress, [&](std::uint64_t needed) {
            RequireFit(arguments, target, needed);
            WarnOfSplitFiles(contents, err);
        });
    out << target << ": ISO image written, volume \"" << plan.label << "\"\n"
        << target << ": " << authoring::FitSummary(sectors) << '\n';
}

}  // namespace autorun_disc
