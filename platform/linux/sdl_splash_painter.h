// Paints the main window: the black background and the picture control with the splash picture,
// which is decoded the first time it is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "image_control.h"
#include "jpeg_decoder.h"
#include "sdl_handles.h"

namespace autorun {

class SdlSplashPainter {
   public:
    // `jpeg` may be empty: then only the background is painted.  `backgroundRgb` is 0x00BBGGRR.
    SdlSplashPainter(std::vector<std::uint8_t> jpeg, unsigned long backgroundRgb)
        : jpeg_(std::move(jpeg)), backgroundRgb_(backgroundRgb) {}

    // Natural size of the picture, or 0 x 0 when there is none or it is unreadable.
    PictureSize PictureNaturalSize() const;
    void Paint(SDL_Surface& target, const TImage& image);

   private:
    SDL_Surface* DecodedFor(const SDL_Surface& target);

    std::vector<std::uint8_t> jpeg_;
    unsigned long backgroundRgb_;
    bool decodeAttempted_ = false;
    SdlSurfacePtr picture_;
};

// A decoded bottom-up DIB as a top-down surface in the target's pixel format.
SdlSurfacePtr SurfaceFromDib(const DibPicture& picture, const SDL_PixelFormat& format);

}  // namespace autorun
