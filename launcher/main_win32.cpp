// Program entry: the application titled "Autorun" with its one window; everything the user sees
// happens in that window's handlers.
#include <windows.h>

#include "error_report.h"
#include "form1_definition.h"
#include "win32_application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    autorun::Win32Application application(instance);
    application.SetTitle(autorun::kApplicationTitle);
    application.CreateMainForm(autorun::kForm1Definition);
    return application.Run();
}
