#include "program_location.h"
#include "win32_module_path.h"

namespace autorun_disc {

std::filesystem::path ProgramFolder() {
    return std::filesystem::path(autorun::CurrentModuleFileName()).parent_path();
}

}  // namespace autorun_disc
