// Fuzzes bin2dat's command line: the input is the argument list, the arguments separated by NUL
// bytes.  Whatever is typed gives either a usable command or a UsageError, never another failure.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "arguments.h"
#include "fuzz_arguments.h"
#include "fuzz_require.h"
#include "settings_format.h"

namespace {

using fuzzing::Require;

bool IsSettingsText(const std::string& text) {
    return text.size() >= autorun::kMinTextLength && text.size() <= autorun::kMaxTextLength;
}

void CheckHelpTopic(bin2dat::Command topic) {
    Require(!bin2dat::HelpText(topic).empty());
    Require(bin2dat::CommandName(topic).empty() == (topic == bin2dat::Command::kHelp));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bin2dat::Arguments arguments;
    try {
        arguments = bin2dat::ParseArguments(fuzzing::SplitAtNul(data, size));
    } catch (const bin2dat::UsageError& error) {
        Require(*error.what() != '\0');
        CheckHelpTopic(error.topic());
        return 0;
    }
    switch (arguments.command) {
        case bin2dat::Command::kHelp:
            CheckHelpTopic(arguments.helpTopic);
            break;
        case bin2dat::Command::kWrite:
            Require(IsSettingsText(arguments.exeName) && IsSettingsText(arguments.text));
            break;
        case bin2dat::Command::kRead:
            break;
    }
    return 0;
}
