#include "posix_form_system.h"

#include "disc_file_names.h"
#include "posix_process_start.h"

namespace autorun {

std::string PosixFormSystem::SettingsFileName() {
    return kLinuxSettingsFileName;
}

void PosixFormSystem::StartProcess(const std::string& executablePath) {
    StartDetachedProcess(executablePath);
}

}  // namespace autorun
