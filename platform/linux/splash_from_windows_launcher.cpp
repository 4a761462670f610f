#include "splash_from_windows_launcher.h"

#include "file_reading.h"
#include "pe_resources.h"
#include "resource_ids.h"

namespace autorun {

std::vector<std::uint8_t> SplashFromWindowsLauncher(const std::string& launcherDir) {
    for (const char* name : kWindowsLauncherNames) {
        const auto executable = ReadWholeFile(launcherDir + name);
        if (!executable) continue;
        auto splash = FindPeResource(*executable, kRcdataResourceType, kSplashResource);
        return splash ? std::move(*splash) : std::vector<std::uint8_t>{};
    }
    return {};
}

}  // namespace autorun
