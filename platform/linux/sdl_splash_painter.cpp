#include "sdl_splash_painter.h"

#include <cstring>

namespace autorun {

SdlSurfacePtr SurfaceFromDib(const DibPicture& picture, const SDL_PixelFormat& format) {
    // A 24-bit DIB stores blue, green, red: SDL's BGR24 byte order.
    SdlSurfacePtr rows(
        SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 24, SDL_PIXELFORMAT_BGR24));
    if (!rows) return nullptr;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y) {
        // Both counts are positive: the DIB runs bottom-up, the surface top-down.
        const auto sourceRow = static_cast<std::size_t>(picture.height - 1 - y);
        const auto targetRow = static_cast<std::size_t>(y);
        const std::uint8_t* source = picture.pixels.data() + picture.stride * sourceRow;
        std::memcpy(
            static_cast<std::uint8_t*>(rows->pixels) + static_cast<std::size_t>(rows->pitch) * targetRow,
            source, rowBytes);
    }
    return SdlSurfacePtr(SDL_ConvertSurface(rows.get(), &format, 0));
}

PictureSize SdlSplashPainter::PictureNaturalSize() const {
    const auto size = ReadJpegSize(jpeg_.data(), jpeg_.size());
    return size ? *size.value : PictureSize{0, 0};
}

SDL_Surface* SdlSplashPainter::DecodedFor(const SDL_Surface& target) {
    if (!decodeAttempted_) {
        decodeAttempted_ = true;
        // SDL converts colours for any display depth, so the picture is always decoded in full colour.
        const auto decoded = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour);
        if (decoded) picture_ = SurfaceFromDib(*decoded.value, *target.format);
    }
    return picture_.get();
}

void SdlSplashPainter::Paint(SDL_Surface& target, const TImage& image) {
    SDL_SetClipRect(&target, nullptr);
    SDL_FillRect(&target, nullptr,
                 SDL_MapRGB(target.format, backgroundRgb_ & 0xFF, (backgroundRgb_ >> 8) & 0xFF,
                            (backgroundRgb_ >> 16) & 0xFF));
    SDL_Surface* picture = image.Visible() && !jpeg_.empty() ? DecodedFor(target) : nullptr;
    if (!picture) return;
    // The picture is clipped to the control; unstretched, it keeps its natural size at the corner.
    const SDL_Rect control{image.Left(), image.Top(), image.Width(), image.Height()};
    SDL_SetClipRect(&target, &control);
    SDL_Rect destination{control.x, control.y, image.Stretch() ? control.w : picture->w,
                         image.Stretch() ? control.h : picture->h};
    SDL_BlitScaled(picture, nullptr, &target, &destination);
    SDL_SetClipRect(&target, nullptr);
}

}  // namespace autorun
