// The game on the demo disc: a window that shows how it was started (its command line, current
// directory and own path) and closes itself after a few seconds.
//
// When AUTORUN_DEMO_CAPTURE names a folder, it also leaves two screenshots there: splash.bmp, taken
// first thing, while the launcher's splash is still on top, and game.bmp, taken once the launcher's
// window has gone and this window has been painted.
#include <windows.h>

#include <string>
#include <vector>

#include "win32_gdi_objects.h"
#include "win32_module_path.h"
#include "win32_process_environment.h"
#include "win32_screen_capture.h"

namespace {

constexpr wchar_t kWindowClass[] = L"AutorunDemoGame";
constexpr wchar_t kLauncherClass[] = L"TForm1";
constexpr wchar_t kCaptureVariable[] = L"AUTORUN_DEMO_CAPTURE";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMs = 100;
constexpr DWORD kRunMs = 4000;
// A launcher that never closes must not keep the game (and so the demo) running for ever.
constexpr DWORD kLongestRunMs = 20000;
// Wine copies a window's pixels to the screen only while its thread waits for messages; a few
// timer ticks after the paint are plenty.
constexpr DWORD kSettleMs = 300;
constexpr int kClientWidth = 760;
constexpr int kClientHeight = 210;
constexpr int kMargin = 16;
constexpr int kLineHeight = 30;

// ---- What the game shows ----

std::vector<std::wstring> StartFacts() {
    return {
        L"The demo game is running: the disc's launcher started it.",
        L"Command line:  " + std::wstring(GetCommandLineW()),
        L"Current directory:  " + autorun::CurrentDirectory(),
        L"Program:  " + autorun::CurrentModuleFileName(),
        L"This window closes by itself in a few seconds.",
    };
}

// ---- The window ----

class DemoGame {
   public:
    DemoGame(std::vector<std::wstring> lines, std::wstring captureFolder)
        : lines_(std::move(lines)), captureFolder_(std::move(captureFolder)) {}
    DemoGame(const DemoGame&) = delete;
    DemoGame& operator=(const DemoGame&) = delete;

    bool Open(HINSTANCE instance);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

   private:
    void Paint();
    void Tick();
    bool GameCaptureDue(DWORD now);

    std::vector<std::wstring> lines_;
    std::wstring captureFolder_;
    HWND window_ = nullptr;
    const DWORD started_ = GetTickCount();
    bool painted_ = false;
    bool launcherGone_ = false;
    DWORD launcherGoneAt_ = 0;
    bool gameCaptured_ = false;
    autorun::GdiObject<HFONT> font_{CreateFontW(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                DEFAULT_PITCH | FF_SWISS, L"Tahoma")};
};

bool DemoGame::Open(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassW(&windowClass)) return false;

    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = CreateWindowExW(0, kWindowClass, L"Demo game", style, left, top, width, height, nullptr,
                              nullptr, instance, this);
    if (!window_) return false;
    SetTimer(window_, kTimerId, kTickMs, nullptr);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK DemoGame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<DemoGame*>(create->lpCreateParams)->window_ = window;
    }
    auto* game = reinterpret_cast<DemoGame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            if (game) game->Paint();
            return 0;
        case WM_TIMER:
            if (game && wParam == kTimerId) game->Tick();
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTimerId);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void DemoGame::Paint() {
    const autorun::PaintScope paint(window_);
    const autorun::Selection font(paint.dc(), font_.get());
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), GetSysColor(COLOR_WINDOWTEXT));
    RECT line{kMargin, kMargin, kClientWidth - kMargin, kMargin + kLineHeight};
    for (const std::wstring& text : lines_) {
        DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.size()), &line,
                  DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER);
        OffsetRect(&line, 0, kLineHeight + 6);
    }
    painted_ = true;
}

// The launcher closes about a second after starting the game; once it has gone, this window comes
// to the front and is painted again, and the screen then shows what the player sees.
bool DemoGame::GameCaptureDue(DWORD now) {
    if (captureFolder_.empty() || gameCaptured_) return false;
    if (!launcherGone_) {
        if (FindWindowW(kLauncherClass, nullptr)) return false;
        launcherGone_ = true;
        launcherGoneAt_ = now;
        painted_ = false;
        SetForegroundWindow(window_);
        InvalidateRect(window_, nullptr, TRUE);
        return false;
    }
    return painted_ && now - launcherGoneAt_ >= kSettleMs;
}

void DemoGame::Tick() {
    const DWORD now = GetTickCount();
    if (GameCaptureDue(now)) {
        autorun::Picture24::CaptureScreen().SaveBmp(captureFolder_ + L"\\game.bmp");
        gameCaptured_ = true;
    }
    const DWORD elapsed = now - started_;
    const bool captureDone = captureFolder_.empty() || gameCaptured_;
    if ((elapsed >= kRunMs && captureDone) || elapsed >= kLongestRunMs) DestroyWindow(window_);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // First thing: the launcher's splash is on the screen only until about a second from now.
    const std::wstring captureFolder = autorun::EnvironmentValue(kCaptureVariable);
    if (!captureFolder.empty()) autorun::Picture24::CaptureScreen().SaveBmp(captureFolder + L"\\splash.bmp");

    DemoGame game(StartFacts(), captureFolder);
    if (!game.Open(instance)) return 1;
    return RunMessageLoop();
}
