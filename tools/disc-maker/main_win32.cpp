// Autorun Disc Maker: the window, and the message loop that gives it a dialog's keyboard handling.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "maker_window.h"

namespace {

// The folder picker's new style needs COM on the window's thread.
class ComApartment {
   public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

   private:
    bool initialized_;
};

int RunMessageLoop(HWND window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, the arrow keys in radio groups, access keys, Enter for Make and Esc for closing.
        if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const ComApartment com;
    if (!disc_maker::RegisterMakerWindow(instance)) return 1;
    HWND window = disc_maker::CreateMakerWindow(instance, show);
    if (!window) return 1;
    return RunMessageLoop(window);
}
