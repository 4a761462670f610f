// The game on the demo disc: a window that shows how it was started (its command line, current
// directory and own path) and closes itself after a few seconds.
//
// When AUTORUN_DEMO_CAPTURE names a folder, it also leaves two screenshots there: splash.bmp, taken
// first thing, while the launcher's splash is still on top, and game.bmp, taken once the launcher's
// window has gone and this window has been painted.
#include <windows.h>

#include <string>
#include <vector>

#include "win32_handle.h"
#include "win32_module_path.h"

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

// ---- Small owners of GDI objects ----

class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { if (dc_) ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() { if (dc_) DeleteDC(dc_); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

template <typename Object>
class GdiObject {
public:
    explicit GdiObject(Object object) : object_(object) {}
    ~GdiObject() { if (object_) DeleteObject(object_); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    Object get() const { return object_; }

private:
    Object object_;
};

// Selects an object into a DC and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { if (previous_) SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// ---- Screenshots ----

// 24-bit pixels in BMP order: bottom-up rows, each padded to four bytes.
struct Screenshot {
    BITMAPINFOHEADER header{};
    std::vector<BYTE> pixels;
};

BITMAPINFOHEADER Header24(int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    return header;
}

// The whole screen as it is shown now; no pixels when any step fails.
Screenshot CaptureScreen() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const ScreenDc screen;
    const MemoryDc memory(screen.get());
    const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!screen.get() || !memory.get() || !bitmap.get()) return {};
    {
        const Selection selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY)) return {};
    }
    // GetDIBits wants the bitmap deselected, hence the scope above.
    Screenshot shot;
    BITMAPINFO info{};
    info.bmiHeader = Header24(width, height);
    shot.pixels.resize(info.bmiHeader.biSizeImage);
    if (GetDIBits(memory.get(), bitmap.get(), 0, height, shot.pixels.data(), &info, DIB_RGB_COLORS) != height) {
        return {};
    }
    shot.header = Header24(width, height);
    return shot;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool WriteBmp(const std::wstring& path, const Screenshot& shot) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof shot.header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(shot.pixels.size());
    const autorun::Win32Handle handle(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.valid() && WriteAll(handle.get(), &file, sizeof file) &&
           WriteAll(handle.get(), &shot.header, sizeof shot.header) &&
           WriteAll(handle.get(), shot.pixels.data(), static_cast<DWORD>(shot.pixels.size()));
}

// Written under a temporary name first, so that the demo script never converts half a file.
void SaveScreenshot(const std::wstring& path) {
    const Screenshot shot = CaptureScreen();
    if (shot.pixels.empty()) return;
    const std::wstring temporary = path + L".part";
    if (!WriteBmp(temporary, shot) || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
    }
}

// ---- What the game shows ----

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

std::wstring CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, &directory[0]);
    directory.resize(length < size ? length : 0);
    return directory;
}

std::vector<std::wstring> StartFacts() {
    return {
        L"The demo game is running: the disc's launcher started it.",
        L"Command line:  " + std::wstring(GetCommandLineW()),
        L"Current directory:  " + CurrentDirectory(),
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
    GdiObject<HFONT> font_{CreateFontW(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
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
    window_ = CreateWindowExW(0, kWindowClass, L"Demo game", style, left, top, width, height, nullptr, nullptr,
                              instance, this);
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
    const PaintScope paint(window_);
    const Selection font(paint.dc(), font_.get());
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
        SaveScreenshot(captureFolder_ + L"\\game.bmp");
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
    const std::wstring captureFolder = EnvironmentValue(kCaptureVariable);
    if (!captureFolder.empty()) SaveScreenshot(captureFolder + L"\\splash.bmp");

    DemoGame game(StartFacts(), captureFolder);
    if (!game.Open(instance)) return 1;
    return RunMessageLoop();
}
