// The preview draws with the launcher's own painter and picture control: the screen is painted
// off-screen exactly as the launcher paints its window, together with the rows below the screen,
// then shown scaled down with those rows dimmed and hatched.  The full-size view is the launcher's
// paint itself, into a window of the screen's size.
#include "splash_preview.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "win32_gdi_objects.h"
#include "win32_splash_painter.h"

namespace disc_maker {
namespace {

using autorun::GdiObject;
using autorun::MemoryDc;
using autorun::PaintScope;
using autorun::PictureSize;
using autorun::SavedDcState;
using autorun::Selection;
using autorun::Win32SplashPainter;

constexpr wchar_t kClassName[] = L"AutorunSplashPreview";
constexpr wchar_t kFullSizeClassName[] = L"AutorunSplashPreviewFullSize";
// The launcher's window background (form1_definition.h).
constexpr COLORREF kScreenBackground = RGB(0, 0, 0);
constexpr COLORREF kCutLine = RGB(255, 48, 48);
constexpr COLORREF kCutHatch = RGB(160, 160, 160);
constexpr int kTextMargin = 4;
// Rows drawn of a very tall picture, in screen heights: a 16 x 8192 picture is 699,392 rows on a
// 1366 pixel wide screen, far more than a bitmap can hold, and in a preview the first few screens'
// worth below the cut tell as much as all of them.
constexpr int kMostScreensRendered = 4;

// A 32-bit top-down bitmap selected into a memory DC, whose pixels can be reached directly.
class Rendering {
   public:
    Rendering(int width, int height)
        : width_(width), height_(height), bitmap_(Create(dc_.get(), width, height, bits_)) {
        if (bitmap_.get()) selected_.emplace(dc_.get(), bitmap_.get());
    }
    bool valid() const { return selected_ && selected_->valid() && bits_; }
    HDC dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t* Row(int y) {
        return static_cast<std::uint32_t*>(bits_) +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }

   private:
    static HBITMAP Create(HDC dc, int width, int height, void*& bits) {
        if (!dc || width <= 0 || height <= 0) return nullptr;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }

    int width_, height_;
    void* bits_ = nullptr;
    // In this order: the bitmap is put out of the DC before it is deleted, and both before the DC.
    MemoryDc dc_{nullptr};
    GdiObject<HBITMAP> bitmap_;
    std::optional<Selection> selected_;
};

// Halves the brightness of the rows from `first` down: what lies below the screen.
void Dim(Rendering& rendering, int first) {
    GdiFlush();  // the painter's drawing may still be batched
    for (int y = std::max(0, first); y < rendering.Height(); ++y) {
        std::uint32_t* row = rendering.Row(y);
        for (int x = 0; x < rendering.Width(); ++x) row[x] = (row[x] >> 1) & 0x7F7F7F;
    }
}

struct Preview {
    std::vector<std::uint8_t> jpeg;
    // Reads `jpeg`; made again whenever the picture changes.
    std::unique_ptr<Win32SplashPainter> painter;
    ScreenShape shape = ScreenShape::k4x3;
    // The screen and the rows below it for the current picture and shape; made when first needed.
    std::unique_ptr<Rendering> rendering;
    bool renderingFailed = false;
    HWND fullSize = nullptr;
};

// The full-size view keeps a copy of the picture, so that it lives on its own terms.
struct FullSizeView {
    FullSizeView(std::vector<std::uint8_t> bytes, ScreenShape shape, HWND* slot)
        : jpeg(std::move(bytes)),
          painter(std::span<const std::uint8_t>(jpeg), kScreenBackground),
          splash(LayOutSplash(painter.PictureNaturalSize(), shape)),
          ownerSlot(slot) {}
    std::vector<std::uint8_t> jpeg;
    Win32SplashPainter painter;
    SplashOnScreen splash;
    // The preview's record of this view, cleared when the view goes.
    HWND* ownerSlot;
};

Preview* PreviewOf(HWND window) {
    return reinterpret_cast<Preview*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

PictureSize NaturalSize(const Preview& preview) {
    return preview.painter ? preview.painter->PictureNaturalSize() : PictureSize{0, 0};
}

void Forget(Preview& preview) {
    preview.rendering.reset();
    preview.renderingFailed = false;
    if (preview.fullSize) DestroyWindow(preview.fullSize);
}

int RenderedRows(const SplashOnScreen& splash) {
    return std::min(splash.RenderHeight(), kMostScreensRendered * splash.screen.height);
}

// The launcher's paint of the screen, extended down to the control's bottom edge.
std::unique_ptr<Rendering> Render(Preview& preview) {
    SplashOnScreen splash = LayOutSplash(NaturalSize(preview), preview.shape);
    auto rendering = std::make_unique<Rendering>(splash.screen.width, RenderedRows(splash));
    if (!rendering->valid()) return nullptr;
    const RECT client{0, 0, rendering->Width(), rendering->Height()};
    if (preview.painter) {
        preview.painter->Paint(rendering->dc(), client, splash.image);
    } else {
        const GdiObject<HBRUSH> black(CreateSolidBrush(kScreenBackground));
        FillRect(rendering->dc(), &client, black.get());
    }
    Dim(*rendering, splash.screen.height);
    return rendering;
}

// The text line below the picture: the font's height and a margin.
int TextLineHeight(HWND window) {
    const autorun::WindowDc dc(window);
    const SavedDcState saved(dc.get());
    SelectObject(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight + 2 * kTextMargin;
}

RECT PictureArea(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    client.bottom = std::max(client.top, client.bottom - TextLineHeight(window));
    return client;
}

PreviewLayout LayoutOf(HWND window, const Preview& preview) {
    const SplashOnScreen splash = LayOutSplash(NaturalSize(preview), preview.shape);
    PreviewLayout layout;
    layout.screen = splash.screen;
    layout.hasPicture = splash.image.Picture().height > 0;
    layout.pictureHeight = layout.hasPicture ? splash.image.Height() : 0;
    layout.rowsCut = splash.RowsCut();
    const RECT area = PictureArea(window);
    layout.fit = FitPreview(area.right - area.left, area.bottom - area.top, splash.screen.width,
                            RenderedRows(splash), splash.screen.height);
    return layout;
}

std::wstring Caption(const Preview& preview) {
    const SplashOnScreen splash = LayOutSplash(NaturalSize(preview), preview.shape);
    if (splash.image.Picture().height > 0) return CutText(splash);
    return preview.jpeg.empty() ? L"no picture: the launcher shows a black screen"
                                : L"the picture can't be read: the launcher shows a black screen";
}

void DrawCut(HDC dc, const PreviewFit& fit) {
    const SavedDcState saved(dc);
    const RECT below{fit.left, fit.cutRow, fit.left + fit.width, fit.top + fit.height};
    const GdiObject<HBRUSH> hatch(CreateHatchBrush(HS_BDIAGONAL, kCutHatch));
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &below, hatch.get());
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kCutLine));
    SelectObject(dc, pen.get());
    MoveToEx(dc, fit.left, fit.cutRow, nullptr);
    LineTo(dc, fit.left + fit.width, fit.cutRow);
}

void DrawCaption(HDC dc, HWND window, const RECT& client, const std::wstring& text) {
    const SavedDcState saved(dc);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT line = client;
    line.top = std::max(client.top, client.bottom - TextLineHeight(window));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (GetFocus() == window) {
        InflateRect(&line, -1, -1);
        DrawFocusRect(dc, &line);
    }
}

// Into `dc`, which covers the client area.
void DrawPreview(HDC dc, HWND window, Preview& preview) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!preview.rendering && !preview.renderingFailed) {
        preview.rendering = Render(preview);
        preview.renderingFailed = !preview.rendering;
    }
    const PreviewLayout layout = LayoutOf(window, preview);
    const PreviewFit& fit = layout.fit;
    if (preview.rendering && fit.width > 0 && fit.height > 0) {
        const SavedDcState saved(dc);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, fit.left, fit.top, fit.width, fit.height, preview.rendering->dc(), 0, 0,
                   preview.rendering->Width(), preview.rendering->Height(), SRCCOPY);
    }
    if (layout.rowsCut > 0 && fit.height > 0) DrawCut(dc, fit);
    DrawCaption(dc, window, client, Caption(preview));
}

void OnPaint(HWND window, Preview& preview) {
    const PaintScope paint(window);
    RECT client{};
    GetClientRect(window, &client);
    // Drawn off-screen first, so that the picture never flickers through the background.
    const MemoryDc back(paint.dc());
    const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
    if (!back.get() || !bitmap.get()) return DrawPreview(paint.dc(), window, preview);
    const Selection selected(back.get(), bitmap.get());
    DrawPreview(back.get(), window, preview);
    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, back.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Preview* preview = PreviewOf(window);
    switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Preview));
            break;
        case WM_NCDESTROY:
            if (preview) {
                Forget(*preview);
                delete preview;
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_PAINT:
            if (!preview) break;
            OnPaint(window, *preview);
            return 0;
        case WM_SIZE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_LBUTTONDBLCLK:
            ShowFullSizePreview(window);
            return 0;
        case WM_KEYDOWN:
            if (wParam != VK_SPACE) break;
            ShowFullSizePreview(window);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PaintFullSize(HWND window, FullSizeView& view) {
    const PaintScope paint(window);
    RECT client{};
    GetClientRect(window, &client);
    const PreviewScreen& screen = view.splash.screen;
    // The screen's area centred on a larger monitor, black around it as around the launcher's window.
    const int left = std::max(0, static_cast<int>(client.right - screen.width) / 2);
    const int top = std::max(0, static_cast<int>(client.bottom - screen.height) / 2);
    if (client.right > screen.width || client.bottom > screen.height) {
        const GdiObject<HBRUSH> black(CreateSolidBrush(kScreenBackground));
        FillRect(paint.dc(), &client, black.get());
    }
    const SavedDcState saved(paint.dc());
    SetViewportOrgEx(paint.dc(), left, top, nullptr);
    view.painter.Paint(paint.dc(), RECT{0, 0, screen.width, screen.height}, view.splash.image);
}

LRESULT CALLBACK FullSizeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<FullSizeView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCDESTROY:
            if (view) {
                if (*view->ownerSlot == window) *view->ownerSlot = nullptr;
                delete view;
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (!view) break;
            PaintFullSize(window, *view);
            return 0;
        case WM_KEYDOWN:
            if (wParam != VK_ESCAPE) break;
            DestroyWindow(window);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            DestroyWindow(window);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) break;
            // Another window came forward: a topmost view would otherwise hide it.
            DestroyWindow(window);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background) {
    WNDCLASSW windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

}  // namespace

void RegisterSplashPreview(HINSTANCE instance) {
    Register(instance, kClassName, PreviewProcedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
             GetSysColorBrush(COLOR_BTNFACE));
    Register(instance, kFullSizeClassName, FullSizeProcedure, 0,
             static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

HWND CreateSplashPreview(HWND parent, int controlId, HINSTANCE instance) {
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
}

void ShowSplashInPreview(HWND window, std::vector<std::uint8_t> jpeg) {
    Preview* preview = PreviewOf(window);
    if (!preview) return;
    Forget(*preview);
    preview->painter.reset();
    preview->jpeg = std::move(jpeg);
    if (!preview->jpeg.empty())
        preview->painter = std::make_unique<Win32SplashPainter>(std::span<const std::uint8_t>(preview->jpeg),
                                                                kScreenBackground);
    InvalidateRect(window, nullptr, FALSE);
}

void SetPreviewScreen(HWND window, ScreenShape shape) {
    Preview* preview = PreviewOf(window);
    if (!preview || preview->shape == shape) return;
    Forget(*preview);
    preview->shape = shape;
    InvalidateRect(window, nullptr, FALSE);
}

HWND ShowFullSizePreview(HWND window) {
    Preview* preview = PreviewOf(window);
    if (!preview) return nullptr;
    if (preview->fullSize) DestroyWindow(preview->fullSize);
    auto view = std::make_unique<FullSizeView>(preview->jpeg, preview->shape, &preview->fullSize);
    // The launcher's window covers the monitor from its top left; so does this one.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const HWND owner = GetAncestor(window, GA_ROOT);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const HWND created = CreateWindowExW(WS_EX_TOPMOST, kFullSizeClassName, L"Splash preview", WS_POPUP, 0, 0,
                                         width, height, owner, nullptr, instance, nullptr);
    if (!created) return nullptr;
    // The window owns the view from here on; it is not shown before.
    SetWindowLongPtrW(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view.release()));
    preview->fullSize = created;
    ShowWindow(created, SW_SHOW);
    SetForegroundWindow(created);
    SetFocus(created);
    UpdateWindow(created);
    return created;
}

PreviewLayout GetPreviewLayout(HWND window) {
    const Preview* preview = PreviewOf(window);
    return preview ? LayoutOf(window, *preview) : PreviewLayout{};
}

}  // namespace disc_maker
