// The benchmark's floor: about the least a Windows program does to light the screen.  One
// borderless, topmost window over the whole screen, painted white by its class brush when it is
// first shown; it closes itself half a second later.  Linked like the launcher, statically.
#include <windows.h>

namespace {

constexpr UINT kCloseAfterMs = 500;
constexpr UINT_PTR kCloseTimer = 1;

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorProcedure;
    windowClass.hInstance = instance;
    // A stock brush: nothing to release.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"BenchFloor";
    if (!RegisterClassW(&windowClass)) return 1;
    const HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"Floor",
                                        WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    UpdateWindow(window);
    // Wine holds fresh pixels back while the thread waits for messages; a peek lets them through at
    // once, as the launcher does, so that the floor lights the screen as early as a program can.
    GdiFlush();
    MSG pending;
    PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
    SetTimer(window, kCloseTimer, kCloseAfterMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
