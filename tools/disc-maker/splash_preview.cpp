// Placeholder until the preview is drawn by the launcher's painter: a black child window.
#include "splash_preview.h"

namespace disc_maker {
namespace {

constexpr wchar_t kClassName[] = L"AutorunSplashPreview";

}  // namespace

void RegisterSplashPreview(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

HWND CreateSplashPreview(HWND parent, int controlId, HINSTANCE instance) {
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
}

void ShowSplashInPreview(HWND, std::vector<std::uint8_t>) {}

void SetPreviewScreen(HWND, ScreenShape) {}

}  // namespace disc_maker
