#include "launch_settings.h"

#include "file_reading.h"
#include "launcher_error.h"
#include "settings_format.h"

namespace autorun {

std::string ReadLaunchSettings(const std::string& fileName) {
    const auto file = ReadWholeFile(fileName);
    if (!file) throw LauncherError("Cannot open file " + fileName);
    try {
        return ParseLaunchSettings(*file).gameExeName;
    } catch (const SettingsFormatError&) {
        throw LauncherError("File " + fileName + " is damaged");
    }
}

}  // namespace autorun
