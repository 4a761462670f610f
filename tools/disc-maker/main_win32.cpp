// Autorun Disc Maker: the window, and the message loop that gives it a dialog's keyboard handling.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <shellapi.h>

#include <string>

#include "maker_window.h"
#include "win32_scoped_handle.h"

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

struct AcceleratorDestruction {
    void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};

// The project file given as the first argument, as Explorer's "Open with" gives it; "" without one.
std::wstring ProjectArgument() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return {};
    std::wstring file = count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    return file;
}

int RunMessageLoop(HWND window) {
    const autorun::ScopedHandle<HACCEL, AcceleratorDestruction> keys(disc_maker::CreateMakerAccelerators());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Ctrl+O and Ctrl+S, from any control of the window but not from the dialogs it opens.
        if (keys.get() && IsWindow(window) && (message.hwnd == window || IsChild(window, message.hwnd)) &&
            TranslateAcceleratorW(window, keys.get(), &message))
            continue;
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
    HWND window = disc_maker::CreateMakerWindow(instance, show, ProjectArgument());
    if (!window) return 1;
    return RunMessageLoop(window);
}
