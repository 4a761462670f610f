// Paints the main window: the black background and the picture control with the splash picture,
// which is decoded from the program's resources (or, for tools that show a picture as the launcher
// will, from bytes the caller holds) the first time it is drawn.  On a true-colour display a
// stretched picture is decoded as far as it shows and scaled once, smoothly, to the control's size,
// and then drawn 1:1: a smooth stretch by the system on every paint costs far more.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "image_control.h"
#include "jpeg_decoder.h"
#include "win32_gdi_objects.h"

namespace autorun {

class Win32SplashPainter {
   public:
    Win32SplashPainter(HINSTANCE instance, const char* resourceName, COLORREF background);
    // The picture is read from `jpeg`, which must outlive the painter.
    Win32SplashPainter(std::span<const std::uint8_t> jpeg, COLORREF background);
    Win32SplashPainter(const Win32SplashPainter&) = delete;
    Win32SplashPainter& operator=(const Win32SplashPainter&) = delete;

    // Natural size of the picture, or 0 x 0 when it is missing or unreadable.
    PictureSize PictureNaturalSize() const;
    void Paint(HDC dc, const RECT& client, const TImage& image);

   private:
    struct PictureBytes {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
    };

    PictureBytes Bytes() const;
    const DibPicture* DecodedFor(HDC dc);
    bool ScalesOnce(HDC dc, const TImage& image) const;
    const DibPicture* ScaledFor(const TImage& image, int visibleRows);
    const DibPicture* ScaleOnce(const TImage& image, int visibleRows);
    void DrawOneToOne(HDC dc, const RECT& control, const DibPicture& picture);
    void DrawPicture(HDC dc, const RECT& control, const TImage& image, const DibPicture& picture);
    void SelectPictureColours(HDC dc);

    HINSTANCE instance_ = nullptr;
    // Null: the picture is `bytes_`.
    const char* resourceName_ = nullptr;
    std::span<const std::uint8_t> bytes_;
    COLORREF background_;
    bool decodeAttempted_ = false;
    std::optional<DibPicture> picture_;
    // The control's picture scaled to its width x height, its top visible rows only.
    struct ScaledPicture {
        int width = 0, height = 0, visibleRows = 0;
        bool failed = false;
        bool outOfMemory = false;
        std::optional<DibPicture> picture;
    } scaled_;
    // Only a picture decoded for a palette display has one.
    std::optional<GdiObject<HPALETTE>> palette_;
};

}  // namespace autorun
