// Paints the main window: the black background and the picture control with the splash picture,
// which is decoded from the program's resources the first time it is drawn.
#pragma once

#include <windows.h>

#include <optional>

#include "image_control.h"
#include "jpeg_decoder.h"

namespace autorun {

class Win32SplashPainter {
   public:
    Win32SplashPainter(HINSTANCE instance, const char* resourceName, COLORREF background);
    ~Win32SplashPainter();
    Win32SplashPainter(const Win32SplashPainter&) = delete;
    Win32SplashPainter& operator=(const Win32SplashPainter&) = delete;

    // Natural size of the picture, or 0 x 0 when the resource is missing or unreadable.
    PictureSize PictureNaturalSize() const;
    void Paint(HDC dc, const RECT& client, const TImage& image);

   private:
    struct ResourceBytes {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
    };

    ResourceBytes Resource() const;
    const DibPicture* DecodedFor(HDC dc);
    void DrawPicture(HDC dc, const RECT& control, const TImage& image, const DibPicture& picture);
    void SelectPictureColours(HDC dc);

    HINSTANCE instance_;
    const char* resourceName_;
    COLORREF background_;
    bool decodeAttempted_ = false;
    std::optional<DibPicture> picture_;
    HPALETTE palette_ = nullptr;
};

}  // namespace autorun
