#include "image_control.h"

namespace autorun {

TImage::TImage(const ImageDefinition& definition, PictureSize picture)
    : left_(definition.left),
      top_(definition.top),
      width_(definition.width),
      height_(definition.height),
      visible_(definition.visible),
      stretch_(definition.stretch),
      autoSize_(definition.autoSize),
      picture_(picture) {
    FitToPicture();
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToPicture();
}

void TImage::SetWidth(int width) {
    width_ = width;
    FitToPicture();
}

void TImage::SetHeight(int height) {
    height_ = height;
    FitToPicture();
}

void TImage::FitToPicture() {
    if (!autoSize_ || picture_.width <= 0 || picture_.height <= 0) return;
    width_ = picture_.width;
    height_ = picture_.height;
}

void StretchToScreenWidth(TImage& image, int screenWidth) {
    image.SetAutoSize(true);
    image.SetStretch(true);
    image.SetAutoSize(false);
    // Height first, from the natural size; the product stays in signed 32 bits.
    image.SetHeight(static_cast<int>(static_cast<long long>(screenWidth) * image.Height() / image.Width()));
    image.SetWidth(screenWidth);
}

}  // namespace autorun
