// Fuzzes the decoder of "bin2.dat", which comes from the disc or from whoever prepared it: any bytes
// either give a pair of texts that the format can carry again, or a SettingsFormatError.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_require.h"
#include "settings_format.h"

using fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    autorun::LaunchSettings settings;
    try {
        settings = autorun::ParseLaunchSettings(file);
    } catch (const autorun::SettingsFormatError&) {
        return 0;
    }
    Require(settings.formatSize <= file.size());

    // What was read can be written again and reads back the same, with the same layout.
    const auto rebuilt = autorun::BuildLaunchSettings(settings.firstText, settings.gameExeName);
    Require(rebuilt.size() == settings.formatSize);
    const auto reread = autorun::ParseLaunchSettings(rebuilt);
    Require(reread.firstText == settings.firstText && reread.gameExeName == settings.gameExeName);
    return 0;
}
