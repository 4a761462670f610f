// autorun-disc make: its options, read into a DiscProject.
#include <memory>
#include <optional>

#include "command_options.h"
#include "disc_file_names.h"
#include "disc_media.h"

namespace autorun_disc {
namespace {

// What the command line spells differently from the project: one option for each kind of output.
struct MakeOptions {
    std::optional<std::string> iso;
    std::optional<std::string> folder;
};

void AddMediaOption(CLI::App& command, std::optional<std::string>& media) {
    std::vector<std::string> options;
    std::string names;
    for (const authoring::Medium& medium : authoring::Media()) {
        options.emplace_back(medium.option);
        names += (names.empty() ? "" : ", ") + std::string(medium.option) + ": " + std::string(medium.name);
    }
    command
        .add_option("--media", media,
                    "refuse, before writing anything, a disc that won't fit on this medium (" + names + ")")
        ->type_name("KIND")
        ->check(CLI::IsMember(options));
}

// --linux-launcher needs --linux-exe, which a project may give: checked with the rest in MakeMistake.
void AddLinuxOptions(CLI::App& make, authoring::DiscProject& project) {
    make.add_option(
            "--linux-exe", project.linuxExe,
            "also start the game on Linux desktops: the Linux game's executable, a path inside the "
            "game folder; puts the Linux launcher autorun, bin2lnx.dat and autorun.sh at the disc's root")
        ->type_name("PATH");
    make.add_option("--linux-launcher", project.linuxLauncher,
                    std::string("the Linux launcher for --linux-exe (default: ") +
                        autorun::kLinuxLauncherName + " beside this tool)")
        ->type_name("FILE");
}

// The signing options need --sign, which a project may give too.
void LeaveSigningNeedsToMakeMistake(CLI::App& make) {
    CLI::Option* sign = make.get_option("--sign");
    for (const char* name : {"--sign-password-file", "--timestamp-url"})
        make.get_option(name)->remove_needs(sign);
}

}  // namespace

CLI::App& AddMakeCommand(CLI::App& top, Arguments& arguments) {
    authoring::DiscProject& project = arguments.make;
    const auto options = std::make_shared<MakeOptions>();
    CLI::App& make =
        *top.add_subcommand("make", "lay out a disc from a game folder as an ISO image or a folder");
    make.add_option("--project", arguments.makeProject,
                    "take the disc's settings from this project file; options given here replace the "
                    "file's, and those the file gives need not be given")
        ->type_name("FILE");
    make.add_option("--game", project.gameFolder, "the game's folder: everything in it goes onto the disc")
        ->type_name("DIR");
    make.add_option("--exe", project.exe, "the game's executable, a path inside the game folder")
        ->type_name("PATH");
    AddLauncherOptions(make, project.launcher);
    LeaveSigningNeedsToMakeMistake(make);
    AddLinuxOptions(make, project);
    make.add_option("--label", project.label, "the disc's name (default: the game folder's name)");
    auto* iso = make.add_option("--iso", options->iso, "write an ISO 9660 image with Joliet and Rock Ridge")
                    ->type_name("FILE.iso");
    auto* folder =
        make.add_option("--folder", options->folder, "write a folder (for a USB stick or a burner)")
            ->type_name("DIR");
    iso->excludes(folder);
    make.add_flag("--force", project.replace, "replace an existing output");
    AddMediaOption(make, project.media);
    make.footer(
        std::string("--game, --exe and --iso or --folder are required unless the project gives them.\n"
                    "The disc is checked as 'check' would before anything is written.\n") +
        kWriteStatus);
    make.callback([&make, &arguments, options] {
        arguments.make.outputKind =
            options->folder ? authoring::OutputKind::kFolder : authoring::OutputKind::kIso;
        arguments.make.output = options->folder ? *options->folder : options->iso.value_or("");
        if (!arguments.makeProject)
            if (const std::optional<std::string> mistake = MakeMistake(arguments.make))
                throw CommandMistake(&make, *mistake);
        arguments.command = Command::kMake;
    });
    return make;
}

std::optional<std::string> MakeMistake(const authoring::DiscProject& project) {
    if (project.gameFolder.empty()) return "--game is required";
    if (project.exe.empty()) return "--exe is required";
    if (project.linuxLauncher && !project.linuxExe) return "--linux-launcher requires --linux-exe";
    const authoring::SigningSources& signing = project.launcher.signing;
    if (signing.passwordFile && !signing.pfx) return "--sign-password-file requires --sign";
    if (signing.timestampUrl && !signing.pfx) return "--timestamp-url requires --sign";
    if (project.output.empty()) return "give --iso FILE.iso or --folder DIR";
    return std::nullopt;
}

}  // namespace autorun_disc
