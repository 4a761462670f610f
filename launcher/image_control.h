// State of a picture control: where it lies, whether it shows, and how its picture is fitted.
// Drawing is the window's business; this class only keeps the rules that change the geometry.
#pragma once

#include "form1_definition.h"
#include "jpeg_decoder.h"

namespace autorun {

class TImage {
   public:
    TImage(const ImageDefinition& definition, PictureSize picture);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Visible() const { return visible_; }
    bool Stretch() const { return stretch_; }
    bool AutoSize() const { return autoSize_; }
    PictureSize Picture() const { return picture_; }

    void SetVisible(bool visible) { visible_ = visible; }
    void SetStretch(bool stretch) { stretch_ = stretch; }
    // While on, the control takes its picture's natural size, now and whenever that could change.
    void SetAutoSize(bool autoSize);
    void SetWidth(int width);
    void SetHeight(int height);

   private:
    void FitToPicture();

    int left_, top_, width_, height_;
    bool visible_, stretch_, autoSize_;
    PictureSize picture_;
};

// What the splash sequence does to the control once the window covers the screen: its picture's
// natural size, stretched to the screen's width with the height in the picture's proportion.  The
// control may then reach below the screen, which cuts it.
void StretchToScreenWidth(TImage& image, int screenWidth);

}  // namespace autorun
