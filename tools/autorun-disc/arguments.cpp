#include "arguments.h"

#include "command_help.h"

#include "disc_file_names.h"
#include "disc_media.h"

namespace autorun_disc {
namespace {

constexpr char kDescription[] =
    "Makes a game disc that starts its game with the Autorun launcher: lays out the game, the launcher, "
    "bin2.dat and autorun.inf as a folder or an ISO image, gives the launcher your own splash picture, "
    "icon and names, and checks finished discs.";

void AddBrandingOptions(CLI::App& command, Branding& branding) {
    command
        .add_option("--splash", branding.splash, "a JPEG (embedded as it is) or a PNG (converted to JPEG)")
        ->type_name("PICTURE");
    command.add_option("--icon", branding.icon, "the launcher's icon: every image of the .ico file is kept")
        ->type_name("FILE.ico");
    command.add_option("--product", branding.product, "product name in the launcher's version information");
    command.add_option("--company", branding.company, "company name in the launcher's version information");
    command
        .add_option("--launcher", branding.launcher,
                    std::string("the launcher to start from (default: ") + autorun::kLauncherExeName +
                        " beside this tool)")
        ->type_name("EXE");
}

void AddSigningOptions(CLI::App& command, Signing& signing) {
    auto* sign = command
                     .add_option("--sign", signing.pfx,
                                 "sign the launcher (Authenticode, SHA-256) with this PKCS#12 key, after "
                                 "branding; the password comes from --sign-password-file or the variable "
                                 "AUTORUN_SIGN_PASSWORD (set it empty for a key without one)")
                     ->type_name("FILE.pfx");
    command
        .add_option("--sign-password-file", signing.passwordFile, "the key's password: the file's first line")
        ->type_name("FILE")
        ->needs(sign);
    command
        .add_option("--timestamp-url", signing.timestampUrl,
                    "an RFC 3161 time-stamping service to countersign")
        ->type_name("URL")
        ->needs(sign);
}

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

constexpr char kWriteStatus[] = "Exit status: 0 written, 1 bad input (nothing is written), 2 bad arguments.";

struct Parser {
    CLI::App app{kDescription, "autorun-disc"};
    CLI::App* make = nullptr;
    CLI::App* brand = nullptr;
    CLI::App* check = nullptr;
    Arguments arguments;

    Parser() {
        app.require_subcommand(0, 1);

        make = app.add_subcommand("make", "lay out a disc from a game folder as an ISO image or a folder");
        make->add_option("--game", arguments.game, "the game's folder: everything in it goes onto the disc")
            ->type_name("DIR")
            ->required();
        make->add_option("--exe", arguments.exe, "the game's executable, a path inside the game folder")
            ->type_name("PATH")
            ->required();
        AddBrandingOptions(*make, arguments.branding);
        AddSigningOptions(*make, arguments.signing);
        auto* linuxExe =
            make->add_option(
                    "--linux-exe", arguments.linuxExe,
                    "also start the game on Linux desktops: the Linux game's executable, a path inside "
                    "the game folder; puts the Linux launcher autorun, bin2lnx.dat and autorun.sh at "
                    "the disc's root")
                ->type_name("PATH");
        make->add_option("--linux-launcher", arguments.linuxLauncher,
                         std::string("the Linux launcher for --linux-exe (default: ") +
                             autorun::kLinuxLauncherName + " beside this tool)")
            ->type_name("FILE")
            ->needs(linuxExe);
        make->add_option("--label", arguments.label, "the disc's name (default: the game folder's name)");
        auto* iso =
            make->add_option("--iso", arguments.iso, "write an ISO 9660 image with Joliet and Rock Ridge")
                ->type_name("FILE.iso");
        auto* folder =
            make->add_option("--folder", arguments.folder, "write a folder (for a USB stick or a burner)")
                ->type_name("DIR");
        iso->excludes(folder);
        make->add_flag("--force", arguments.force, "replace an existing output");
        AddMediaOption(*make, arguments.media);
        make->footer(std::string("The disc is checked as 'check' would before anything is written.\n") +
                     kWriteStatus);

        brand = app.add_subcommand("brand", "write a copy of the launcher with your picture, icon and names");
        AddBrandingOptions(*brand, arguments.branding);
        AddSigningOptions(*brand, arguments.signing);
        brand->add_option("--out", arguments.out, "the branded launcher to write")
            ->type_name("FILE.exe")
            ->required();
        brand->footer(kWriteStatus);

        check = app.add_subcommand("check",
                                   "check a disc image or folder; exit 1 when it would not start its game");
        check->add_option("ISO_OR_FOLDER", arguments.target, "an ISO image or a folder laid out as a disc")
            ->required();
        check->footer(
            "Exit status: 0 the disc starts its game, 1 it would not or can't be read, 2 bad arguments.");

        app.footer(
            "'autorun-disc COMMAND --help' describes each command.\n"
            "Exit status: 0 done, 1 bad input or the disc would not start its game, 2 bad arguments.");
    }

    Arguments Parse(const std::vector<std::string>& args) {
        std::vector<std::string> pending;
        try {
            autorun_cli::ParseInOrder(app, args, pending);
        } catch (const CLI::CallForHelp&) {
            return Help(app.help());
        } catch (const CLI::ParseError& error) {
            throw Mistake(error.what());
        }
        if (make->parsed()) {
            if (!arguments.iso && !arguments.folder) throw Mistake("give --iso FILE.iso or --folder DIR");
            arguments.command = Command::kMake;
        } else if (brand->parsed()) {
            arguments.command = Command::kBrand;
        } else if (check->parsed()) {
            arguments.command = Command::kCheck;
        } else {
            return Help(app.help());
        }
        return arguments;
    }

    // CLI11 throws help for a subcommand from the subcommand, so its text comes from there.
    Arguments Help(const std::string& text) {
        Arguments help;
        help.helpText = text;
        if (CLI::App* command = Parsed()) help.helpText = autorun_cli::CommandHelp(*command, "autorun-disc");
        return help;
    }

    CLI::App* Parsed() const {
        for (CLI::App* command : {make, brand, check})
            if (command->parsed()) return command;
        return nullptr;
    }

    // One line: the command, the mistake and where help is.
    UsageError Mistake(const std::string& what) const {
        const std::string command = Parsed() ? Parsed()->get_name() + " " : "";
        return UsageError((command.empty() ? "" : command.substr(0, command.size() - 1) + ": ") + what +
                          " (see autorun-disc " + command + "--help)");
    }
};

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
    return Parser().Parse(args);
}

}  // namespace autorun_disc
