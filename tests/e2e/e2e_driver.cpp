// Runs inside a Wine virtual desktop: starts the launcher, answers its message boxes, watches for the
// splash and waits for the launcher to exit, and writes what it saw as a key=value report.
//
// Usage: e2e_driver.exe CONFIG, where CONFIG is a key=value file (UTF-8) with the keys
//   launcher, cwd        the launcher to start and its current directory
//   report, capture      where the report and the screen once the splash has appeared go
//   picture_rows         how many rows from the top the scaled splash covers (optional): the capture
//                        is taken again, for a while, until they are all lit
//   first_capture        where the first capture that showed the splash goes when it was incomplete
//   probe_dir, token     handed to the game through the launcher's environment
//   probe_window         1: the game opens a window of its own
//   screen_width, screen_height  the virtual desktop's size, awaited before the launcher starts
//   launcher_timeout_ms  how long the launcher may run before it is ended
//   boxes_expected       how many message boxes the launcher may show; at one more the box is read,
//                        the launcher ended at once and the report says unexpected_box=1
//   hook_dll             the library that records the launcher's window from inside its process
#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "win32_gdi_objects.h"
#include "win32_handle.h"
#include "win32_scoped_handle.h"

namespace {

constexpr int kPollMs = 10;
// The scaled picture covers at least three quarters of any 4:3 or wider screen; the 200 x 200
// window before the splash covers far less, and a flat fill is no picture.
constexpr double kSplashShare = 0.25;
constexpr int kSplashColours = 4;
constexpr int kSplashSampleStep = 16;
// The capture that first shows the splash can land while the picture is still on its way to the X
// screen (its lower part or a band of rows still black), which is X's doing, not the launcher's.  It
// is taken again until the picture's rows are all lit, for at most this long; what the screen shows
// then is judged.  Most first captures are complete and cost nothing more.
constexpr double kSplashCompleteLimitMs = 700;
constexpr int kRowSampleStep = 4;
constexpr double kProbeWaitMs = 12000;
constexpr double kScreenWaitMs = 5000;

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                             &length)) {
        GetWindowTextW(window, text, 1024);
    }
    return text;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

struct DialogSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) && e2e::ClassName(window) == L"#32770")
        search->found.push_back(window);
    return TRUE;
}

// Visible dialog boxes (class #32770) of one process.
std::vector<HWND> DialogsOf(DWORD process) {
    DialogSearch search{process, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// 255 for pictures of different sizes, such as a failed drawing.
double MeanDifference(const autorun::Picture24& a, const autorun::Picture24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return 255.0;
    long long sum = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            for (int c = 0; c < 3; ++c) sum += std::abs(a.Pixel(x, y)[c] - b.Pixel(x, y)[c]);
        }
    }
    const long long count = 3LL * a.Width() * a.Height();
    return count ? static_cast<double>(sum) / static_cast<double>(count) : 255.0;
}

// Which of the standard message box icons the control shows: its pixels on screen are compared with
// each icon drawn on the same background.
void RecordIcon(e2e::KeyValues& report, const std::string& prefix, HWND control) {
    RECT area{};
    GetWindowRect(control, &area);
    const autorun::Picture24 shown = autorun::Picture24::CaptureScreen(area);
    if (shown.empty()) return;
    const std::uint8_t* corner = shown.Pixel(0, 0);
    const COLORREF background = RGB(corner[2], corner[1], corner[0]);

    const struct {
        const char* name;
        LPCSTR id;
    } icons[] = {{"hand", IDI_HAND},
                 {"exclamation", IDI_EXCLAMATION},
                 {"asterisk", IDI_ASTERISK},
                 {"question", IDI_QUESTION}};
    std::string best = "unknown";
    double bestDifference = 1e9;
    for (const auto& icon : icons) {
        const autorun::Picture24 drawn =
            autorun::Picture24::Paint(shown.Width(), shown.Height(), [&](HDC dc) {
                const RECT all{0, 0, shown.Width(), shown.Height()};
                const autorun::GdiObject<HBRUSH> brush(CreateSolidBrush(background));
                FillRect(dc, &all, brush.get());
                DrawIconEx(dc, 0, 0, LoadIconA(nullptr, icon.id), 0, 0, 0, nullptr,
                           DI_NORMAL | DI_DEFAULTSIZE);
                return true;
            });
        const double difference = MeanDifference(shown, drawn);
        if (difference < bestDifference) {
            bestDifference = difference;
            best = icon.name;
        }
    }
    // A different icon, or none at all, differs from every candidate by far more than this.
    constexpr double kSameIcon = 8.0;
    report.Set(prefix + "_icon", bestDifference <= kSameIcon ? best : std::string("unknown"));
    report.SetMs(prefix + "_icon_difference", bestDifference);
}

// Has Wine load the hook library into the launcher, where the hook records the launcher's window
// from inside its own process.  The hook watches the launcher's thread alone: loaded into the
// desktop's other processes, the library can keep them from setting up their windows.
class WindowHook {
   public:
    WindowHook(const std::wstring& library, DWORD thread)
        : module_(library.empty() ? nullptr : LoadLibraryW(library.c_str())),
          hook_(Install(module_.get(), thread)) {}
    bool installed() const { return hook_.get() != nullptr; }

   private:
    struct LibraryRelease {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    struct HookRemoval {
        void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
    };

    static HHOOK Install(HMODULE module, DWORD thread) {
        const FARPROC found = module ? GetProcAddress(module, "E2eCbtHook") : nullptr;
        const auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found));
        return proc ? SetWindowsHookExW(WH_CBT, proc, module, thread) : nullptr;
    }

    // Declared first: the hook is removed before its library is freed.
    autorun::ScopedHandle<HMODULE, LibraryRelease> module_;
    autorun::ScopedHandle<HHOOK, HookRemoval> hook_;
};

// Starts a program through ntdll, for a path longer than MAX_PATH: Wine's CreateProcessW refuses such
// a path, though the process itself runs with it.  The process starts suspended, like the one that
// CreateProcessW makes below.
class NtProcessStart {
   public:
    NtProcessStart() : ntdll_(GetModuleHandleW(L"ntdll.dll")) {}

    bool Start(const std::wstring& program, const std::wstring& directory,
               PROCESS_INFORMATION& created) const {
        const auto makeParameters = Function<MakeParameters>("RtlCreateProcessParametersEx");
        const auto destroyParameters = Function<DestroyParameters>("RtlDestroyProcessParameters");
        const auto createProcess = Function<CreateProcess>("RtlCreateUserProcess");
        const auto initString = Function<InitString>("RtlInitUnicodeString");
        if (!makeParameters || !destroyParameters || !createProcess || !initString) return false;

        const std::wstring ntPath = L"\\??\\" + program;
        const std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW own{};
        GetStartupInfoW(&own);
        const std::wstring desktop = own.lpDesktop ? own.lpDesktop : L"";
        UNICODE_STRING image, ntImage, command, current, desktopName;
        initString(&image, program.c_str());
        initString(&ntImage, ntPath.c_str());
        initString(&command, commandLine.c_str());
        initString(&current, directory.c_str());
        initString(&desktopName, desktop.c_str());

        constexpr ULONG kNormalized = 1;
        RTL_USER_PROCESS_PARAMETERS* parameters = nullptr;
        if (makeParameters(&parameters, &image, nullptr, &current, &command, nullptr, nullptr, &desktopName,
                           nullptr, nullptr, kNormalized) != 0) {
            return false;
        }
        Created result{};
        result.length = sizeof result;
        const NTSTATUS status = createProcess(&ntImage, OBJ_CASE_INSENSITIVE, parameters, nullptr, nullptr,
                                              nullptr, FALSE, nullptr, nullptr, &result);
        destroyParameters(parameters);
        if (status != 0) return false;
        created.hProcess = result.process;
        created.hThread = result.thread;
        created.dwProcessId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(result.client.UniqueProcess));
        created.dwThreadId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(result.client.UniqueThread));
        return true;
    }

   private:
    struct Created {
        ULONG length;
        HANDLE process;
        HANDLE thread;
        CLIENT_ID client;
        BYTE image[0x40];  // SECTION_IMAGE_INFORMATION: 0x30 bytes in 32-bit builds, 0x40 in 64-bit ones
    };
    using MakeParameters = NTSTATUS(NTAPI*)(RTL_USER_PROCESS_PARAMETERS**, UNICODE_STRING*, UNICODE_STRING*,
                                            UNICODE_STRING*, UNICODE_STRING*, void*, UNICODE_STRING*,
                                            UNICODE_STRING*, UNICODE_STRING*, UNICODE_STRING*, ULONG);
    using DestroyParameters = NTSTATUS(NTAPI*)(RTL_USER_PROCESS_PARAMETERS*);
    using CreateProcess = NTSTATUS(NTAPI*)(UNICODE_STRING*, ULONG, RTL_USER_PROCESS_PARAMETERS*, void*, void*,
                                           HANDLE, BOOLEAN, HANDLE, HANDLE, Created*);
    using InitString = void(NTAPI*)(UNICODE_STRING*, const wchar_t*);

    template <typename Pointer>
    Pointer Function(const char* name) const {
        return reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(ntdll_, name)));
    }

    HMODULE ntdll_;
};

std::wstring EventName(const e2e::KeyValues& config, const wchar_t* what) {
    return L"e2e-" + config.Get("token") + what;
}

class Driver {
   public:
    // The game signals these events, named after the scenario's token, when it starts and when it
    // is done.
    explicit Driver(const e2e::KeyValues& config)
        : config_(config),
          probeStarted_(CreateEventW(nullptr, TRUE, FALSE, EventName(config, L"-probe-started").c_str())),
          probeDone_(CreateEventW(nullptr, TRUE, FALSE, EventName(config, L"-probe-done").c_str())) {}

    void Run() {
        RecordScreen();
        PrepareEnvironment();
        if (StartLauncher()) {
            Watch();
            if (report_.Get("unexpected_box").empty()) WaitForGame();
        }
        report_.SetMs("driver_end_ms", e2e::ClockMs());
        report_.Save(config_.Get("report"));
    }

   private:
    // A new virtual desktop takes a moment to publish its size to the other processes; the launcher
    // must not start before it has.
    void RecordScreen() {
        const int width = config_.GetInt("screen_width", 0), height = config_.GetInt("screen_height", 0);
        const double begin = e2e::ClockMs();
        e2e::PumpMessages(kScreenWaitMs, [&] {
            return GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
        });
        report_.SetMs("screen_wait_ms", e2e::ClockMs() - begin);
        const autorun::WindowDc screen(nullptr);
        report_.Set("screen_bits",
                    GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES));
        report_.Set("screen_width", GetSystemMetrics(SM_CXSCREEN));
        report_.Set("screen_height", GetSystemMetrics(SM_CYSCREEN));
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        report_.Set("work_area", e2e::RectText(work));
    }

    // The game reads these from the environment it inherits through the launcher.
    void PrepareEnvironment() {
        SetEnvironmentVariableW(L"E2E_TOKEN", config_.Get("token").c_str());
        SetEnvironmentVariableW(L"E2E_REPORT_DIR", config_.Get("probe_dir").c_str());
        SetEnvironmentVariableW(L"E2E_PROBE_WINDOW", config_.Get("probe_window", L"0").c_str());
    }

    bool StartLauncher() {
        const std::wstring launcher = config_.Get("launcher");
        std::wstring commandLine = L"\"" + launcher + L"\"";
        const std::wstring directory = config_.Get("cwd");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created{};
        started_ = e2e::ClockMs();
        report_.SetMs("launch_ms", started_);
        const bool longPath = launcher.size() >= MAX_PATH;
        report_.Set("launch_through", longPath ? "ntdll" : "CreateProcessW");
        if (longPath) {
            if (!NtProcessStart().Start(launcher, directory, created)) {
                report_.Set("launch_error", "ntdll");
                return false;
            }
        } else if (!CreateProcessW(launcher.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, directory.c_str(), &startup, &created)) {
            report_.Set("launch_error", GetLastError());
            return false;
        }
        hook_ = std::make_unique<WindowHook>(config_.Get("hook_dll"), created.dwThreadId);
        report_.Set("hook_installed", hook_->installed());
        ResumeThread(created.hThread);
        CloseHandle(created.hThread);
        process_.emplace(created.hProcess);
        processId_ = created.dwProcessId;
        return true;
    }

    void Watch() {
        const double deadline = started_ + config_.GetInt("launcher_timeout_ms", 20000);
        for (;;) {
            SampleMemory();
            if (WaitForSingleObject(process_->get(), 0) == WAIT_OBJECT_0) {
                RecordExit();
                break;
            }
            if (e2e::ClockMs() > deadline) {
                TerminateProcess(process_->get(), 9999);
                WaitForSingleObject(process_->get(), 5000);
                report_.Set("launcher_exit", "timeout");
                break;
            }
            if (AnswerNewBoxes() == BoxVerdict::kUnexpected) break;
            if (!splashSeen_) LookForSplash();
            e2e::PumpMessages(kPollMs);
        }
        report_.Set("box_count", static_cast<int>(boxes_.size()));
        report_.Set("splash_seen", splashSeen_);
        if (!splashSeen_ && lastCapture_) lastCapture_->SaveBmp(config_.Get("capture"));
        SampleMemory();
        if (peakWorkingSet_) {
            report_.Set("launcher_peak_working_set_kib", static_cast<long long>(peakWorkingSet_ / 1024));
            report_.Set("launcher_peak_pagefile_kib", static_cast<long long>(peakPagefile_ / 1024));
        }
    }

    // Windows keeps a process's peaks after it has exited; Wine reads them from the running Unix
    // process and gives zeros once it has gone.  Sampled at every poll, then, keeping the largest.
    void SampleMemory() {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process_->get(), &counters, sizeof counters)) return;
        peakWorkingSet_ = std::max(peakWorkingSet_, counters.PeakWorkingSetSize);
        peakPagefile_ = std::max(peakPagefile_, counters.PeakPagefileUsage);
    }

    void RecordExit() {
        DWORD code = 0;
        GetExitCodeProcess(process_->get(), &code);
        report_.SetMs("exit_ms", e2e::ClockMs());
        report_.Set("launcher_exit", "exited");
        report_.Set("exit_code", static_cast<long long>(code));
    }

    enum class BoxVerdict { kExpected, kUnexpected };

    // Answers the boxes that have appeared since the last look.  One box more than the scenario
    // expects ends the launcher at once: nobody may be there to answer it, and a box that OK can't
    // close would hold the launcher until its time runs out.
    BoxVerdict AnswerNewBoxes() {
        for (HWND box : DialogsOf(processId_)) {
            if (!boxes_.insert(box).second) continue;
            const int number = static_cast<int>(boxes_.size());
            if (number > config_.GetInt("boxes_expected", 1)) {
                ReadBox(box, number);
                TerminateProcess(process_->get(), 9998);
                WaitForSingleObject(process_->get(), 5000);
                report_.Set("unexpected_box", number);
                report_.Set("launcher_exit", "unexpected_box");
                return BoxVerdict::kUnexpected;
            }
            AnswerBox(box, number);
        }
        return BoxVerdict::kExpected;
    }

    // Records what the box shows, then presses its OK button as a user would.
    void AnswerBox(HWND box, int number) {
        const std::string prefix = ReadBox(box, number);
        HWND ok = nullptr;
        for (HWND child : Children(box)) {
            const std::wstring label = TextOf(child);
            if (IsWindowVisible(child) && lstrcmpiW(e2e::ClassName(child).c_str(), L"Button") == 0 &&
                (label == L"OK" || label == L"&OK"))
                ok = child;
        }
        if (ok)
            PostMessageW(ok, BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_CLOSE, 0, 0);
        report_.Set(prefix + "_pressed", ok ? "OK" : "close");

        e2e::PumpMessages(3000, [box] { return !IsWindow(box) || !IsWindowVisible(box); });
        report_.Set(prefix + "_closed", !IsWindow(box) || !IsWindowVisible(box));
        report_.SetMs(prefix + "_closed_ms", e2e::ClockMs());
    }

    // Records the box's caption, text, buttons and icon under "boxNUMBER_"; returns that prefix.
    std::string ReadBox(HWND box, int number) {
        const std::string prefix = "box" + std::to_string(number);
        report_.SetMs(prefix + "_seen_ms", e2e::ClockMs());
        // Give the box time to lay out and paint its controls before they are read off the screen.
        e2e::PumpMessages(400);
        report_.Set(prefix + "_caption", TextOf(box));
        std::wstring buttons, text;
        int buttonCount = 0;
        for (HWND child : Children(box)) {
            if (!IsWindowVisible(child)) continue;
            const std::wstring kind = e2e::ClassName(child);
            if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
                buttons += (buttonCount++ ? L"|" : L"") + TextOf(child);
            } else if (lstrcmpiW(kind.c_str(), L"Static") == 0) {
                if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    RecordIcon(report_, prefix, child);
                else if (!TextOf(child).empty())
                    text += TextOf(child);
            }
        }
        report_.Set(prefix + "_text", text);
        report_.Set(prefix + "_buttons", buttons);
        report_.Set(prefix + "_button_count", buttonCount);
        return prefix;
    }

    void LookForSplash() {
        const HWND window = e2e::FindLauncherWindow();
        if (!window || !IsWindowVisible(window)) return;
        if (!windowSeen_) {
            windowSeen_ = true;
            report_.SetMs("window_seen_ms", e2e::ClockMs());
            e2e::RecordWindow(report_, "first_window", window);
        }
        if (!IsZoomed(window)) return;
        const double before = e2e::ClockMs();
        lastCapture_ = std::make_unique<autorun::Picture24>(autorun::Picture24::CaptureScreen());
        const double share = e2e::NonBlackShare(*lastCapture_, kSplashSampleStep);
        const int colours = e2e::DistinctColours(*lastCapture_, kSplashSampleStep);
        report_.SetMs("last_lit_share", share);
        report_.Set("last_colours", colours);
        if (share < kSplashShare || colours < kSplashColours) return;
        splashSeen_ = true;
        report_.SetMs("splash_ms", before);
        report_.SetMs("splash_share", share);
        e2e::RecordWindow(report_, "splash_window", window);
        CompleteSplash(before);
        lastCapture_->SaveBmp(config_.Get("capture"));
    }

    // Captures again while the picture's rows are not all lit yet; none once the game has started,
    // whose window may then cover the splash.  At least one more however long a capture takes.
    void CompleteSplash(double firstCaptureMs) {
        const int rows = config_.GetInt("picture_rows", 0);
        if (rows <= 0) return;
        std::unique_ptr<autorun::Picture24> first;
        int captures = 1;
        bool complete = e2e::TopRowsLit(*lastCapture_, rows, kRowSampleStep);
        const double start = e2e::ClockMs();
        while (!complete && (captures < 2 || e2e::ClockMs() - start < kSplashCompleteLimitMs)) {
            e2e::PumpMessages(kPollMs);
            auto capture = std::make_unique<autorun::Picture24>(autorun::Picture24::CaptureScreen());
            if (WaitForSingleObject(probeStarted_.get(), 0) == WAIT_OBJECT_0) break;
            ++captures;
            complete = e2e::TopRowsLit(*capture, rows, kRowSampleStep);
            if (!first) first = std::move(lastCapture_);
            lastCapture_ = std::move(capture);
        }
        report_.Set("splash_complete", complete);
        report_.SetMs("splash_complete_ms", e2e::ClockMs() - firstCaptureMs);
        report_.Set("splash_captures", captures);
        if (first && !config_.Get("first_capture").empty()) first->SaveBmp(config_.Get("first_capture"));
    }

    // The game records the screen and may show a window after the launcher has gone; the desktop
    // must stay until it has finished.
    void WaitForGame() {
        const bool started = WaitForSingleObject(probeStarted_.get(), 0) == WAIT_OBJECT_0;
        report_.Set("probe_started", started);
        if (started) {
            const auto done = [this] { return WaitForSingleObject(probeDone_.get(), 0) == WAIT_OBJECT_0; };
            e2e::PumpMessages(kProbeWaitMs, done);
            report_.Set("probe_done", done());
        }
    }

    const e2e::KeyValues& config_;
    e2e::KeyValues report_;
    const autorun::Win32Handle probeStarted_, probeDone_;
    std::optional<autorun::Win32Handle> process_;
    DWORD processId_ = 0;
    double started_ = 0;
    SIZE_T peakWorkingSet_ = 0;
    SIZE_T peakPagefile_ = 0;
    std::set<HWND> boxes_;
    bool windowSeen_ = false;
    bool splashSeen_ = false;
    std::unique_ptr<autorun::Picture24> lastCapture_;
    std::unique_ptr<WindowHook> hook_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count),
                                                            &LocalFree);
    if (!arguments || count != 2) return 2;
    const e2e::KeyValues config = e2e::KeyValues::Load(arguments.get()[1]);
    if (config.Get("launcher").empty() || config.Get("report").empty()) return 2;
    Driver(config).Run();
    return 0;
}
