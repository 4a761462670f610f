// Stands in for a DLL that someone placed beside the launcher or in its current directory, for
// example under the name of a system DLL that is loaded late, after the program has started.
// Whatever process loads it writes E2E_REPORT_DIR\planted-<pid>.txt, naming its own executable; then
// the DLL refuses to stay, so that the process carries on as if there were no such DLL.
#include <windows.h>

#include <string>

#include "e2e_support.h"
#include "win32_module_path.h"
#include "win32_process_environment.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    const std::wstring directory = autorun::EnvironmentValue(L"E2E_REPORT_DIR");
    if (!directory.empty()) {
        e2e::KeyValues report;
        report.Set("process", autorun::CurrentModuleFileName());
        report.Save(directory + L"\\planted-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
    }
    return FALSE;
}
