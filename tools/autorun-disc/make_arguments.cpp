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

void AddLinuxOptions(CLI::App& make, authoring::DiscProject& project) {
    auto* linuxExe = make.add_option("--linux-exe", project.linuxExe,
                                     "also start the game on Linux desktops: the Linux game's executable, a "
                                     "path inside the game folder; puts the Linux launcher autorun, "
                                     "bin2lnx.dat and autorun.sh at the disc's root")
                         ->type_name("PATH");
    make.add_option("--linux-launcher", project.linuxLauncher,
                    std::string("the Linux launcher for --linux-exe (default: ") +
                        autorun::kLinuxLauncherName + " beside this tool)")
        ->type_name("FILE")
        ->needs(linuxExe);
}

}  // namespace

CLI::App& AddMakeCommand(CLI::App& top, Arguments& arguments) {
    authoring::DiscProject& project = arguments.make;
    const auto options = std::make_shared<MakeOptions>();
    CLI::App& make =
        *top.add_subcommand("make", "lay out a disc from a game folder as an ISO image or a folder");
    make.add_option("--game", project.gameFolder, "the game's folder: everything in it goes onto the disc")
        ->type_name("DIR")
        ->required();
    make.add_option("--exe", project.exe, "the game's executable, a path inside the game folder")
        ->type_name("PATH")
        ->required();
    AddLauncherOptions(make, project.launcher);
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
    make.footer(std::string("The disc is checked as 'check' would before anything is written.\n") +
                kWriteStatus);
    make.callback([&make, &arguments, options] {
        if (!options->iso && !options->folder)
            throw CommandMistake(&make, "give --iso FILE.iso or --folder DIR");
        arguments.make.outputKind =
            options->folder ? authoring::OutputKind::kFolder : authoring::OutputKind::kIso;
        arguments.make.output = options->folder ? *options->folder : *options->iso;
        arguments.command = Command::kMake;
    });
    return make;
}

}  // namespace autorun_disc
