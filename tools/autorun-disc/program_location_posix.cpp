#include <system_error>

#include "program_location.h"

namespace autorun_disc {

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : self.parent_path();
}

}  // namespace autorun_disc
