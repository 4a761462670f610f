#include "win32_screen_capture.h"

#include <cstddef>
#include <utility>

#include "win32_file_replacement.h"
#include "win32_gdi_objects.h"

namespace autorun {
namespace {

int Stride(int width) {
    return (width * 3 + 3) & ~3;
}

BITMAPINFOHEADER Header24(int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // positive: bottom-up rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(Stride(width)) * static_cast<DWORD>(height);
    return header;
}

}  // namespace

Picture24::Picture24(int width, int height, std::vector<std::uint8_t> bits)
    : width_(width), height_(height), bits_(std::move(bits)) {}

Picture24 Picture24::CaptureScreen() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CaptureScreen(screen);
}

Picture24 Picture24::CaptureScreen(const RECT& area) {
    const WindowDc screen(nullptr);
    if (!screen.get()) return {};
    const int width = area.right - area.left, height = area.bottom - area.top;
    return Paint(width, height, [&](HDC dc) {
        return BitBlt(dc, 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY) != FALSE;
    });
}

Picture24 Picture24::Paint(int width, int height, const std::function<bool(HDC)>& painter) {
    if (width <= 0 || height <= 0) return {};
    const MemoryDc memory(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = Header24(width, height);
    void* bits = nullptr;
    const GdiObject<HBITMAP> dib(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.get() || !dib.get()) return {};
    const Selection selected(memory.get(), dib.get());
    if (!selected.valid() || !painter(memory.get())) return {};
    // GDI may batch the drawing; the bits are read directly.
    GdiFlush();
    const auto* first = static_cast<const std::uint8_t*>(bits);
    return Picture24(width, height, std::vector<std::uint8_t>(first, first + info.bmiHeader.biSizeImage));
}

const std::uint8_t* Picture24::Pixel(int x, int y) const {
    return &bits_[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(Stride(width_)) +
                  static_cast<std::size_t>(x) * 3];
}

bool Picture24::SaveBmp(const std::wstring& path) const {
    if (empty()) return false;
    const BITMAPINFOHEADER header = Header24(width_, height_);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    return ReplaceFileContents(
        path, {{&file, sizeof file}, {&header, sizeof header}, {bits_.data(), bits_.size()}});
}

}  // namespace autorun
