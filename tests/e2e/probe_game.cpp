// Plays the game that the launcher starts: records what it finds at its start (its command line,
// current directory and environment, the launcher's window and the screen) into a report for the
// test driver.  With E2E_PROBE_WINDOW=1 it opens a window of its own instead of taking the capture,
// as a game does, and records whether the launcher's window stays above it.
// With E2E_PROBE_LOAD_DLL=NAME it loads the DLL NAME by name, as a game loads DLLs of its own.
#include <windows.h>

#include <optional>
#include <string>

#include "e2e_support.h"
#include "win32_gdi_objects.h"
#include "win32_handle.h"
#include "win32_module_path.h"
#include "win32_process_environment.h"
#include "win32_scoped_handle.h"

namespace {

constexpr wchar_t kWindowClass[] = L"E2EProbeGame";
constexpr COLORREF kWindowColour = RGB(0, 255, 0);

// Tells the driver that a game is running and when it is done, through events it created.
void Signal(const std::wstring& token, const wchar_t* what) {
    const autorun::Win32Handle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, (L"e2e-" + token + what).c_str()));
    if (event.valid()) SetEvent(event.get());
}

// Whether `upper` comes before `lower` in the z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper) return true;
        if (window == lower) return false;
    }
    return false;
}

class GameWindow {
   public:
    HWND get() const { return window_.get(); }

   private:
    struct WindowDestruction {
        void operator()(HWND window) const { DestroyWindow(window); }
    };

    static HWND Create(HBRUSH background) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, kWindowClass, L"Probe game", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 64, 64, 320,
                               240, nullptr, nullptr, windowClass.hInstance, nullptr);
    }

    // Declared first: the window is destroyed before the brush that paints it.
    const autorun::GdiObject<HBRUSH> brush_{CreateSolidBrush(kWindowColour)};
    const autorun::ScopedHandle<HWND, WindowDestruction> window_{Create(brush_.get())};
};

// The game's window opens while the launcher still shows its splash: the launcher's window must stay
// above it until the launcher closes.  The order is read from the window list, not from the screen:
// Wine's virtual desktop stacks the pixels of different processes' windows in the order they were
// mapped, whatever their z-order.
void WatchOwnWindow(const GameWindow& game, e2e::KeyValues& report) {
    report.Set("window_created", game.get() != nullptr);
    if (!game.get()) return;
    int samples = 0, above = 0, firstBelow = 0, whileClosing = 0;
    e2e::PumpMessages(8000, [&] {
        const HWND launcher = e2e::FindLauncherWindow();
        if (!launcher) return true;
        const bool launcherAbove = IsAbove(launcher, game.get());
        // Closing hides the launcher's window and then takes it out of the window list, between our
        // finding it and walking that list; such a look says nothing about the order while it shows.
        if (!launcherAbove && !IsWindowVisible(launcher)) {
            ++whileClosing;
            return false;
        }
        ++samples;
        if (launcherAbove) {
            ++above;
        } else if (firstBelow == 0) {
            firstBelow = samples;
        }
        return false;
    });
    report.Set("window_samples", samples);
    report.Set("window_launcher_above", above);
    report.Set("window_first_below", firstBelow);
    report.Set("window_looks_while_closing", whileClosing);
    report.Set("window_launcher_closed", e2e::FindLauncherWindow() == nullptr);
    e2e::RecordWindow(report, "game_window", game.get());
}

// With E2E_PROBE_WINDOW=1 the window opens first thing, so that it is there while the launcher
// still shows even when this machine is busy.  No screen capture is taken then: Wine's virtual
// desktop would show the game's window in it, whatever the z-order.
void OpenOwnWindowIfAsked(std::optional<GameWindow>& game) {
    if (autorun::EnvironmentValue(L"E2E_PROBE_WINDOW") != L"1") return;
    game.emplace();
    if (game->get()) SetForegroundWindow(game->get());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const double created = e2e::ProcessCreatedMs();
    const double started = e2e::ClockMs();
    std::optional<GameWindow> game;
    OpenOwnWindowIfAsked(game);
    const std::wstring token = autorun::EnvironmentValue(L"E2E_TOKEN");
    Signal(token, L"-probe-started");

    std::wstring directory = autorun::EnvironmentValue(L"E2E_REPORT_DIR");
    if (directory.empty()) directory = e2e::DirectoryOf(autorun::CurrentModuleFileName());
    const std::wstring base = directory + L"\\probe-" + std::to_wstring(GetCurrentProcessId());

    e2e::KeyValues report;
    report.SetMs("created_ms", created);
    report.SetMs("started_ms", started);
    report.Set("command_line", std::wstring(GetCommandLineW()));
    report.Set("module_path", autorun::CurrentModuleFileName());
    report.Set("current_directory", autorun::CurrentDirectory());
    report.Set("token", token);
    e2e::RecordWindow(report, "launcher", e2e::FindLauncherWindow());
    if (game) {
        WatchOwnWindow(*game, report);
    } else {
        report.Set("capture_saved", autorun::Picture24::CaptureScreen().SaveBmp(base + L"-start.bmp"));
        report.SetMs("capture_ms", e2e::ClockMs());
    }
    const std::wstring dll = autorun::EnvironmentValue(L"E2E_PROBE_LOAD_DLL");
    if (!dll.empty()) {
        const autorun::ScopedHandle<HMODULE, BOOL(WINAPI*)(HMODULE)> module(LoadLibraryW(dll.c_str()),
                                                                            FreeLibrary);
        report.Set("dll_loaded", module.get() != nullptr);
    }
    report.SetMs("finished_ms", e2e::ClockMs());
    report.Save(base + L".txt");
    Signal(token, L"-probe-done");
    return 0;
}
