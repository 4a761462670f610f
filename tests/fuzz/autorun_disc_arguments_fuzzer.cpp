// Fuzzes autorun-disc's command line: the input is the argument list, the arguments separated by NUL
// bytes.  Whatever is typed gives either a command with everything it needs or a UsageError, never
// another failure.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "arguments.h"
#include "disc_media.h"
#include "fuzz_arguments.h"
#include "fuzz_require.h"

namespace {

using fuzzing::Require;

void CheckMake(const authoring::DiscProject& project) {
    Require(!project.media || authoring::FindMedium(*project.media) != nullptr);
    Require(!project.linuxLauncher || project.linuxExe);
    const authoring::SigningSources& signing = project.launcher.signing;
    Require(signing.pfx || (!signing.passwordFile && !signing.timestampUrl));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    autorun_disc::Arguments arguments;
    try {
        arguments = autorun_disc::ParseArguments(fuzzing::SplitAtNul(data, size));
    } catch (const autorun_disc::UsageError& error) {
        const std::string message = error.what();
        Require(!message.empty() && message.find("autorun-disc") != std::string::npos);
        return 0;
    }
    switch (arguments.command) {
        case autorun_disc::Command::kHelp:
            Require(!arguments.helpText.empty());
            break;
        case autorun_disc::Command::kMake:
            CheckMake(arguments.make);
            break;
        case autorun_disc::Command::kBrand:
            Require(arguments.brand.launcher.signing.pfx || !arguments.brand.launcher.signing.passwordFile);
            break;
        case autorun_disc::Command::kCheck:
            break;
    }
    return 0;
}
