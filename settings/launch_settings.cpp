#include "launch_settings.h"

#include "file_reading.h"
#include "launcher_error.h"
#include "settings_format.h"

namespace autorun {

std::string GameExeName = kDefaultGameExeName;

void ReadLaunchSettings() {
    const auto file = ReadWholeFile(kSettingsFileName);
    if (!file) throw LauncherError(std::string("Cannot open file ") + kSettingsFileName);
    try {
        GameExeName = ParseLaunchSettings(*file).gameExeName;
    } catch (const SettingsFormatError&) {
        throw LauncherError(std::string("File ") + kSettingsFileName + " is damaged");
    }
}

}  // namespace autorun
