#include "linux_inputs.h"

#include <system_error>

#include "autorun_sh.h"
#include "disc_file_names.h"
#include "elf_image.h"
#include "program_location.h"
#include "text_encoding.h"

namespace autorun_disc {
namespace {

authoring::Bytes LinuxLauncher(const Arguments& arguments) {
    const std::filesystem::path path = arguments.linuxLauncher
                                           ? std::filesystem::path(*arguments.linuxLauncher)
                                           : ProgramFolder() / autorun::kLinuxLauncherName;
    const std::string text = authoring::PathText(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw authoring::DiscError(text + (arguments.linuxLauncher
                                               ? ": no such file (the Linux launcher for --linux-exe)"
                                               : ": no Linux launcher beside autorun-disc; name one with "
                                                 "--linux-launcher FILE"));
    authoring::Bytes launcher = authoring::ReadFileAt(path);
    if (const auto problem = authoring::X8664ExecutableProblem(launcher))
        throw authoring::DiscError(text + ": " + *problem + " (the Linux launcher for --linux-exe)");
    return launcher;
}

}  // namespace

std::optional<authoring::LinuxPlan> LinuxSide(const Arguments& arguments) {
    if (!arguments.linuxExe) return std::nullopt;
    return authoring::LinuxPlan{*arguments.linuxExe, LinuxLauncher(arguments), kAutorunScript};
}

}  // namespace autorun_disc
