// The options make and brand share: the launcher's look, and its signature.
#include "command_options.h"
#include "disc_file_names.h"

namespace autorun_disc {
namespace {

void AddBrandingOptions(CLI::App& command, authoring::LauncherSources& sources) {
    command.add_option("--splash", sources.splash, "a JPEG (embedded as it is) or a PNG (converted to JPEG)")
        ->type_name("PICTURE");
    command
        .add_option("--icon", sources.icon,
                    "an .ico file (every image kept), or a PNG or JPEG picture made into a 16, 32, 48 and "
                    "256 pixel icon")
        ->type_name("ICON");
    command.add_option("--product", sources.product, "product name in the launcher's version information");
    command.add_option("--company", sources.company, "company name in the launcher's version information");
    command
        .add_option("--launcher", sources.launcher,
                    std::string("the launcher to start from (default: ") + autorun::kLauncherExeName +
                        " beside this tool)")
        ->type_name("EXE");
}

void AddSigningOptions(CLI::App& command, authoring::SigningSources& signing) {
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

}  // namespace

void AddLauncherOptions(CLI::App& command, authoring::LauncherSources& sources) {
    AddBrandingOptions(command, sources);
    AddSigningOptions(command, sources.signing);
}

UsageError CommandMistake(const CLI::App* command, const std::string& what) {
    if (!command) return UsageError(what + " (see autorun-disc --help)");
    return CommandMistake(command->get_name(), what);
}

UsageError CommandMistake(const std::string& command, const std::string& what) {
    return UsageError(command + ": " + what + " (see autorun-disc " + command + " --help)");
}

}  // namespace autorun_disc
