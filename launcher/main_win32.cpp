// Program entry: the application titled "Autorun" with its one window; everything the user sees
// happens in that window's handlers.
#include <windows.h>

#include "error_report.h"
#include "form1_definition.h"
#include "win32_application.h"
#include "win32_dll_search.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before the window framework runs: the system loads DLLs by name as windows are made and drawn.
    autorun::RestrictDllSearchToSystem();
    autorun::Win32Application application(instance);
    application.SetTitle(autorun::kApplicationTitle);
    if (!application.CreateMainForm(autorun::kForm1Definition)) return 1;
    return application.Run();
}
