#include "posix_module_path.h"
#include "program_location.h"

namespace autorun_disc {

std::filesystem::path ProgramFolder() {
    const std::string self = autorun::CurrentExecutablePath();
    return self.empty() ? std::filesystem::path(".") : std::filesystem::path(self).parent_path();
}

}  // namespace autorun_disc
