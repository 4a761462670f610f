#include "win32_splash_painter.h"

#include <algorithm>
#include <new>
#include <vector>

#include "picture_scaler.h"
#include "resource_ids.h"
#include "startup_phases.h"
#include "win32_gdi_objects.h"

namespace autorun {
namespace {

// BITMAPINFO with room for a full colour table.
struct DibHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

DibHeader HeaderFor(const DibPicture& picture) {
    DibHeader info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = picture.width;
    info.header.biHeight = picture.height;  // positive: bottom-up rows
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(picture.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = static_cast<DWORD>(picture.palette.size());
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        info.colours[i] = {picture.palette[i].blue, picture.palette[i].green, picture.palette[i].red, 0};
    return info;
}

HPALETTE CreatePicturePalette(const DibPicture& picture) {
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + picture.palette.size() * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(picture.palette.size());
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        palette->palPalEntry[i] = {picture.palette[i].red, picture.palette[i].green, picture.palette[i].blue,
                                   0};
    return CreatePalette(palette);
}

bool IsPaletteDisplay(HDC dc) {
    return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) <= 8;
}

void FillOutside(HDC dc, const RECT& client, const RECT& picture, COLORREF colour) {
    const SavedDcState saved(dc);
    ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &client, brush.get());
}

}  // namespace

Win32SplashPainter::Win32SplashPainter(HINSTANCE instance, const char* resourceName, COLORREF background)
    : instance_(instance), resourceName_(resourceName), background_(background) {}

Win32SplashPainter::Win32SplashPainter(std::span<const std::uint8_t> jpeg, COLORREF background)
    : bytes_(jpeg), background_(background) {}

Win32SplashPainter::PictureBytes Win32SplashPainter::Bytes() const {
    if (!resourceName_) return {bytes_.data(), bytes_.size()};
    const HRSRC found = FindResourceA(instance_, resourceName_, MAKEINTRESOURCEA(kRcdataResourceType));
    const HGLOBAL loaded = found ? LoadResource(instance_, found) : nullptr;
    if (!loaded) return {};
    return {static_cast<const std::uint8_t*>(LockResource(loaded)), SizeofResource(instance_, found)};
}

PictureSize Win32SplashPainter::PictureNaturalSize() const {
    const PictureBytes bytes = Bytes();
    const auto size = ReadJpegSize(bytes.data, bytes.size);
    return size ? *size.value : PictureSize{0, 0};
}

const DibPicture* Win32SplashPainter::DecodedFor(HDC dc) {
    if (!decodeAttempted_) {
        decodeAttempted_ = true;
        const PictureBytes bytes = Bytes();
        auto decoded = DecodeJpeg(bytes.data, bytes.size,
                                  IsPaletteDisplay(dc) ? DibColours::kPalette : DibColours::kTrueColour);
        picture_ = std::move(decoded.value);
        if (picture_ && !picture_->palette.empty()) palette_.emplace(CreatePicturePalette(*picture_));
        MarkPhase("decoding");
    }
    return picture_ ? &*picture_ : nullptr;
}

bool Win32SplashPainter::ScalesOnce(HDC dc, const TImage& image) const {
    const PictureSize natural = image.Picture();
    return image.Stretch() && !IsPaletteDisplay(dc) &&
           (image.Width() != natural.width || image.Height() != natural.height);
}

const DibPicture* Win32SplashPainter::ScaledFor(const TImage& image, int visibleRows) {
    if (scaled_.width == image.Width() && scaled_.height == image.Height() &&
        scaled_.visibleRows == visibleRows)
        return scaled_.failed ? nullptr : &*scaled_.picture;
    scaled_ = {image.Width(), image.Height(), visibleRows, true, false, std::nullopt};
    const PictureSize natural = image.Picture();
    if (visibleRows <= 0 || image.Width() <= 0 || natural.height <= 0) return nullptr;
    try {
        return ScaleOnce(image, visibleRows);
    } catch (const std::bad_alloc&) {
        scaled_.outOfMemory = true;
        return nullptr;
    }
}

const DibPicture* Win32SplashPainter::ScaleOnce(const TImage& image, int visibleRows) {
    const PictureSize natural = image.Picture();
    // Each row is scaled as it comes out of the decoder: the picture at its natural size is never
    // held whole, which spares the memory and the time to touch it.
    PictureScaler scaler(natural, image.Width(), image.Height(), visibleRows);
    const PictureBytes bytes = Bytes();
    const auto decoded = DecodeJpegRows(
        bytes.data, bytes.size, SourceRowsForTop(natural.height, image.Height(), visibleRows), scaler);
    MarkPhase("decoding and scaling");
    if (!decoded || !scaler.Finished()) return nullptr;
    scaled_.picture = scaler.TakePicture();
    scaled_.failed = false;
    return &*scaled_.picture;
}

void Win32SplashPainter::Paint(HDC dc, const RECT& client, const TImage& image) {
    RECT control{image.Left(), image.Top(), image.Left() + image.Width(), image.Top() + image.Height()};
    if (image.Visible() && ScalesOnce(dc, image) && control.top >= client.top) {
        // Only the rows that lie on the screen.
        const DibPicture* scaled = ScaledFor(image, std::min(control.bottom, client.bottom) - control.top);
        if (scaled || !scaled_.outOfMemory) {
            if (!scaled) control = {};
            FillOutside(dc, client, control, background_);
            if (scaled) DrawOneToOne(dc, control, *scaled);
            return;
        }
        // No memory for a bitmap of the control's size: the system stretches the picture instead.
    }
    const DibPicture* picture = image.Visible() ? DecodedFor(dc) : nullptr;
    if (!picture) control = {};
    FillOutside(dc, client, control, background_);
    if (picture) DrawPicture(dc, control, image, *picture);
}

void Win32SplashPainter::DrawOneToOne(HDC dc, const RECT& control, const DibPicture& picture) {
    const DibHeader info = HeaderFor(picture);
    SetDIBitsToDevice(dc, control.left, control.top, static_cast<DWORD>(picture.width),
                      static_cast<DWORD>(picture.height), 0, 0, 0, static_cast<UINT>(picture.height),
                      picture.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    MarkPhase("drawing");
}

void Win32SplashPainter::SelectPictureColours(HDC dc) {
    if (palette_) {
        SelectPalette(dc, palette_->get(), FALSE);
        RealizePalette(dc);
        SetStretchBltMode(dc, COLORONCOLOR);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    }
}

void Win32SplashPainter::DrawPicture(HDC dc, const RECT& control, const TImage& image,
                                     const DibPicture& picture) {
    const SavedDcState saved(dc);
    IntersectClipRect(dc, control.left, control.top, control.right, control.bottom);
    SelectPictureColours(dc);
    const DibHeader info = HeaderFor(picture);
    // Unstretched, the picture keeps its natural size at the control's corner and is clipped to it.
    const int width = image.Stretch() ? control.right - control.left : picture.width;
    const int height = image.Stretch() ? control.bottom - control.top : picture.height;
    StretchDIBits(dc, control.left, control.top, width, height, 0, 0, picture.width, picture.height,
                  picture.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    MarkPhase("scaling and drawing");
}

}  // namespace autorun
