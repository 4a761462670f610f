// Runs inside a Wine virtual desktop: shows a picture in the disc maker's splash preview, records the
// preview's own numbers and the colour drawn at its cut marker for each screen shape, then opens the
// full-size view of the 4:3 screen and captures the screen, which must equal the launcher's.
//
// Usage: preview_capture.exe PICTURE.jpg REPORT.txt CAPTURE.bmp SCREEN_WIDTH SCREEN_HEIGHT
// The report is key=value lines (e2e_support.h); the preview of each shape is saved beside the
// capture as CAPTURE-SHAPE.bmp, for whoever looks into a failure.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "splash_preview.h"

namespace {

constexpr int kPreviewId = 100;
constexpr double kScreenWaitMs = 5000;
constexpr double kPaintMs = 400;
// The full-size view is judged once two captures in a row agree: X may still be receiving its pixels.
constexpr double kStableLimitMs = 5000;
constexpr double kCaptureIntervalMs = 200;
constexpr double kCloseWaitMs = 3000;

std::vector<std::uint8_t> ReadFile(const wchar_t* path) {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<FILE, decltype(&std::fclose)> file(_wfopen(path, L"rb"), &std::fclose);
    if (!file) return bytes;
    std::uint8_t buffer[65536];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + read);
    return bytes;
}

bool SamePixels(const autorun::Picture24& a, const autorun::Picture24& b) {
    if (a.empty() || b.empty() || a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
        if (std::memcmp(a.Pixel(0, y), b.Pixel(0, y), static_cast<std::size_t>(a.Width()) * 3) != 0)
            return false;
    }
    return true;
}

std::string ColourText(const std::uint8_t* bgr) {
    return std::to_string(bgr[2]) + "," + std::to_string(bgr[1]) + "," + std::to_string(bgr[0]);
}

std::wstring WithSuffix(const std::wstring& path, const wchar_t* suffix) {
    const std::size_t dot = path.rfind(L'.');
    return path.substr(0, dot) + suffix + (dot == std::wstring::npos ? L"" : path.substr(dot));
}

// The preview's numbers for one shape, and the colour on screen where it says the cut is marked.
void RecordShape(e2e::KeyValues& report, HWND preview, disc_maker::ScreenShape shape, const char* name,
                 const std::wstring& capturePath) {
    const std::string prefix = std::string("shape_") + name;
    // The first paint of a shape renders the screen and the rows below it: how long an author waits.
    const double before = e2e::ClockMs();
    disc_maker::SetPreviewScreen(preview, shape);
    UpdateWindow(preview);
    report.SetMs(prefix + "_first_paint_ms", e2e::ClockMs() - before);
    e2e::PumpMessages(kPaintMs);
    const disc_maker::PreviewLayout layout = disc_maker::GetPreviewLayout(preview);
    report.Set(prefix + "_screen",
               std::to_string(layout.screen.width) + "x" + std::to_string(layout.screen.height));
    report.Set(prefix + "_picture_height", layout.pictureHeight);
    report.Set(prefix + "_rows_cut", layout.rowsCut);
    const disc_maker::PreviewFit& fit = layout.fit;
    report.Set(prefix + "_fit", std::to_string(fit.left) + "," + std::to_string(fit.top) + "," +
                                    std::to_string(fit.width) + "," + std::to_string(fit.height));
    report.Set(prefix + "_cut_row", fit.cutRow);

    RECT client{};
    GetClientRect(preview, &client);
    MapWindowPoints(preview, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const autorun::Picture24 shown = autorun::Picture24::CaptureScreen(client);
    if (shown.empty()) return;
    shown.SaveBmp(WithSuffix(capturePath, (L"-" + e2e::Wide(name)).c_str()));
    const int x = fit.left + fit.width / 2;
    if (fit.cutRow >= 0 && fit.cutRow < shown.Height())
        report.Set(prefix + "_cut_colour", ColourText(shown.Pixel(x, fit.cutRow)));
    if (fit.cutRow >= 1 && fit.cutRow - 1 < shown.Height())
        report.Set(prefix + "_above_cut_colour", ColourText(shown.Pixel(x, fit.cutRow - 1)));
}

// The full-size view opened as a user opens it: the preview gets the message, the view appears.
HWND OpenAsUser(HWND preview, UINT message, WPARAM key) {
    PostMessageW(preview, message, key, 0);
    HWND view = nullptr;
    e2e::PumpMessages(kCloseWaitMs, [&] {
        view = FindWindowW(L"AutorunSplashPreviewFullSize", nullptr);
        return view != nullptr;
    });
    return view;
}

// Opens the full-size view, captures the screen once it is steady, then closes the view with a message.
autorun::Picture24 CaptureFullSize(e2e::KeyValues& report, const std::string& prefix,
                                   const std::function<HWND()>& open, UINT closeMessage, WPARAM closeKey) {
    const HWND view = open();
    report.Set(prefix + "_opened", view != nullptr);
    if (!view) return autorun::Picture24::CaptureScreen(RECT{0, 0, 0, 0});
    e2e::PumpMessages(kPaintMs);
    autorun::Picture24 last = autorun::Picture24::CaptureScreen();
    const double start = e2e::ClockMs();
    bool steady = false;
    while (!steady && e2e::ClockMs() - start < kStableLimitMs) {
        e2e::PumpMessages(kCaptureIntervalMs);
        autorun::Picture24 next = autorun::Picture24::CaptureScreen();
        steady = SamePixels(last, next);
        last = std::move(next);
    }
    report.Set(prefix + "_steady", steady);
    RECT area{};
    GetWindowRect(view, &area);
    report.Set(prefix + "_window", e2e::RectText(area));
    report.Set(prefix + "_topmost", (GetWindowLongW(view, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    PostMessageW(view, closeMessage, closeKey, 0);
    e2e::PumpMessages(kCloseWaitMs, [view] { return !IsWindow(view); });
    report.Set(prefix + "_closed", !IsWindow(view));
    return last;
}

void Run(HINSTANCE instance, const std::vector<std::uint8_t>& picture, const std::wstring& capturePath,
         e2e::KeyValues& report) {
    disc_maker::RegisterSplashPreview(instance);
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.hInstance = instance;
    hostClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    hostClass.lpszClassName = L"PreviewCaptureHost";
    RegisterClassW(&hostClass);
    const HWND host = CreateWindowExW(0, hostClass.lpszClassName, L"Splash preview test", WS_OVERLAPPEDWINDOW,
                                      20, 20, 640, 560, nullptr, nullptr, instance, nullptr);
    const HWND preview = disc_maker::CreateSplashPreview(host, kPreviewId, instance);
    report.Set("preview_created", host && preview);
    if (!host || !preview) return;
    RECT client{};
    GetClientRect(host, &client);
    MoveWindow(preview, 0, 0, client.right, client.bottom, TRUE);
    disc_maker::ShowSplashInPreview(preview, picture);
    ShowWindow(host, SW_SHOW);
    SetForegroundWindow(host);

    RecordShape(report, preview, disc_maker::ScreenShape::k4x3, "4x3", capturePath);
    RecordShape(report, preview, disc_maker::ScreenShape::k16x10, "16x10", capturePath);
    RecordShape(report, preview, disc_maker::ScreenShape::k16x9, "16x9", capturePath);

    disc_maker::SetPreviewScreen(preview, disc_maker::ScreenShape::k4x3);
    const autorun::Picture24 full = CaptureFullSize(
        report, "full", [&] { return disc_maker::ShowFullSizePreview(preview); }, WM_KEYDOWN, VK_ESCAPE);
    report.Set("capture_saved", full.SaveBmp(capturePath));
    // A double click opens it as well and a click closes it; so does Space, and the views are the same.
    const autorun::Picture24 clicked = CaptureFullSize(
        report, "full_clicked", [&] { return OpenAsUser(preview, WM_LBUTTONDBLCLK, 0); }, WM_LBUTTONDOWN, 0);
    const autorun::Picture24 spaced = CaptureFullSize(
        report, "full_space", [&] { return OpenAsUser(preview, WM_KEYDOWN, VK_SPACE); }, WM_KEYDOWN,
        VK_ESCAPE);
    report.Set("full_views_same", SamePixels(full, clicked) && SamePixels(full, spaced));
    DestroyWindow(host);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count),
                                                            &LocalFree);
    if (!arguments || count != 6) return 2;
    LPWSTR* argv = arguments.get();
    const std::wstring reportPath = argv[2], capturePath = argv[3];
    const int width = _wtoi(argv[4]), height = _wtoi(argv[5]);
    e2e::KeyValues report;
    // A new virtual desktop takes a moment to publish its size.
    e2e::PumpMessages(kScreenWaitMs, [&] {
        return GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
    });
    report.Set("screen", std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                             std::to_string(GetSystemMetrics(SM_CYSCREEN)));
    const std::vector<std::uint8_t> picture = ReadFile(argv[1]);
    report.Set("picture_bytes", static_cast<long long>(picture.size()));
    if (!picture.empty()) Run(instance, picture, capturePath, report);
    return report.Save(reportPath) ? 0 : 1;
}
