#include "win32_form_window.h"

#include "error_report.h"
#include "message_error.h"
#include "resource_ids.h"
#include "startup_phases.h"
#include "win32_gdi_objects.h"
#include "win32_system_message.h"

namespace autorun {
namespace {

DWORD StyleOf(const FormDefinition& definition) {
    return definition.borderless ? WS_POPUP | WS_CLIPCHILDREN : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

DWORD ExStyleOf(const FormDefinition& definition) {
    return definition.topmost ? WS_EX_TOPMOST : 0;
}

void RegisterFormClass(HINSTANCE instance, const std::wstring& className, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, kMainIconResource);
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = className.c_str();
    RegisterClassExW(&windowClass);
}

RECT CentredWindowRect(const FormDefinition& definition) {
    RECT rect{0, 0, definition.clientWidth, definition.clientHeight};
    AdjustWindowRectEx(&rect, StyleOf(definition), FALSE, ExStyleOf(definition));
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int left = definition.centredOnScreen ? (GetSystemMetrics(SM_CXSCREEN) - width) / 2 : CW_USEDEFAULT;
    const int top = definition.centredOnScreen ? (GetSystemMetrics(SM_CYSCREEN) - height) / 2 : CW_USEDEFAULT;
    return {left, top, left + width, top + height};
}

// Read at once after the failed call, before anything else can overwrite the thread's last error.
// A window refused by a hook or by its own creation message leaves no code: no reason then.
std::string CreationFailureReason() {
    const DWORD code = GetLastError();
    return code ? SystemMessage(code) : std::string();
}

}  // namespace

Win32FormWindow::Win32FormWindow(HINSTANCE instance, const FormDefinition& definition, const wchar_t* title,
                                 FormHost& host)
    : className_(definition.className, definition.className + lstrlenA(definition.className)),
      host_(host),
      painter_(instance, definition.image1.pictureResource, definition.backgroundRgb) {
    RegisterFormClass(instance, className_, &WindowProcedure);
    const RECT rect = CentredWindowRect(definition);
    SetLastError(0);
    window_ = CreateWindowExW(ExStyleOf(definition), className_.c_str(), title, StyleOf(definition),
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                              nullptr, instance, this);
    if (!window_) throw MessageError(CannotCreateWindowMessage(CreationFailureReason()));
}

Win32FormWindow::~Win32FormWindow() {
    if (window_) DestroyWindow(window_);
}

void Win32FormWindow::Show() {
    ShowWindow(window_, SW_SHOWNORMAL);
}

void Win32FormWindow::RaiseWindow() {
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32FormWindow::MaximizeWindow() {
    ShowWindow(window_, SW_SHOWMAXIMIZED);
}

int Win32FormWindow::ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

void Win32FormWindow::RepaintNow() {
    MarkPhase("showing, activation, maximizing");
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
    GdiFlush();
    // Wine keeps a window's fresh pixels off the screen while the thread looks idle in a message
    // wait; a peek that leaves the queue untouched lets them through before the blocking wait.
    MSG pending;
    PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
    MarkPhase("flush to the screen");
    WritePhases();
}

void Win32FormWindow::Wait(unsigned milliseconds) {
    Sleep(milliseconds);
}

void Win32FormWindow::CloseWindow() {
    if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK Win32FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    self->host_.RunHandler([&] { result = self->HandleMessage(message, wParam, lParam); });
    return result;
}

LRESULT Win32FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) host_.Activate();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background itself
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32FormWindow::OnPaint() {
    const PaintScope paint(window_);
    RECT client;
    GetClientRect(window_, &client);
    if (const TForm1* form = host_.Form()) painter_.Paint(paint.dc(), client, form->Image1);
}

}  // namespace autorun
