#include "win32_form_system.h"

#include "disc_file_names.h"
#include "win32_ansi_text.h"
#include "win32_module_path.h"
#include "win32_path_text.h"
#include "win32_process_start.h"

namespace autorun {

std::string Win32FormSystem::ModuleFileName() {
    return PathTextFromUtf16(CurrentModuleFileName());
}

std::string Win32FormSystem::SettingsFileName() {
    return kSettingsFileName;
}

std::string Win32FormSystem::PathFromSettingsText(const std::string& text) {
    return PathTextFromUtf16(WidenFromAnsiCodePage(text));
}

void Win32FormSystem::StartProcess(const std::string& executablePath) {
    const std::wstring applicationName = Utf16FromPathText(executablePath);
    StartDetachedProcess(applicationName, QuotedCommandLine(applicationName), promptOwner_);
}

}  // namespace autorun
