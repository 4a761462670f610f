// A CBT hook that the driver installs for the launcher's thread; Wine loads this library into the
// launcher's process, where the launcher's window can be seen as it is activated and just before it
// is maximized.  Another process can't see this: Wine reports no normal placement for a window of
// another process, and the launcher maximizes its window within milliseconds of showing it.
// From its first call on, it also watches how the launcher starts the game (e2e_start_watch.h).
//
// Writes E2E_REPORT_DIR\hook-<pid>.txt with the keys "activate_*", "maximize_*" and those of the
// start watch.  With E2E_REFUSE_WINDOW=1 it refuses the creation of the launcher's window, which
// Windows does for a hook that returns nonzero: CreateWindowExW then fails.
#include <windows.h>

#include <string>

#include "e2e_start_watch.h"
#include "e2e_support.h"
#include "win32_process_environment.h"

namespace {

e2e::KeyValues hookReport;
bool watching = false;
bool activated = false;
bool maximized = false;
bool closed = false;
bool refuseWindow = false;

void SaveReport() {
    const std::wstring directory = autorun::EnvironmentValue(L"E2E_REPORT_DIR");
    if (directory.empty()) return;
    hookReport.Save(directory + L"\\hook-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
}

void Record(const std::string& prefix, HWND window) {
    hookReport.SetMs(prefix + "_ms", e2e::ClockMs());
    e2e::RecordWindow(hookReport, prefix + "_window", window);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    hookReport.Set(prefix + "_window_normal_rect", e2e::RectText(placement.rcNormalPosition));
    SaveReport();
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK E2eCbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (!watching) {
        watching = true;
        refuseWindow = autorun::EnvironmentValue(L"E2E_REFUSE_WINDOW") == L"1";
        e2e::WatchGameStart(hookReport, SaveReport);
    }
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && refuseWindow && e2e::ClassName(window) == L"TForm1") {
        hookReport.Set("window_refused", 1);
        SaveReport();
        return 1;
    }
    if (code == HCBT_ACTIVATE && !activated && e2e::ClassName(window) == L"TForm1") {
        activated = true;
        Record("activate", window);
    } else if (code == HCBT_MINMAX && !maximized && LOWORD(lParam) == SW_SHOWMAXIMIZED &&
               e2e::ClassName(window) == L"TForm1") {
        maximized = true;
        Record("maximize", window);
    } else if (code == HCBT_DESTROYWND && !closed && e2e::ClassName(window) == L"TForm1") {
        closed = true;
        e2e::RecordAtClose(hookReport);
        SaveReport();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
