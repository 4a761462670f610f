#include "launcher_location.h"

#include <cstring>

#include "posix_module_path.h"

namespace autorun {

std::string LauncherPath(int argc, const char* const* argv) {
    if (argc == 3 && std::strcmp(argv[1], kLauncherDirOption) == 0 && argv[2][0] != '\0')
        return std::string(argv[2]) + "/autorun";
    return CurrentExecutablePath();
}

}  // namespace autorun
