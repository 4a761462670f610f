// Smooth scaling of a decoded true-colour picture, done once into a bitmap of the size it is shown
// at, so that every paint draws it 1:1 instead of asking the system to stretch it.  The source rows
// can come straight from the decoder, so that the picture at its natural size is never held whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg_decoder.h"

namespace autorun {

// How many of a picture's top rows scaling it from sourceHeight to scaledHeight rows reads to make
// the scaled picture's top visibleRows rows: the rest of the picture need not even be decoded.
int SourceRowsForTop(int sourceHeight, int scaledHeight, int visibleRows);

// Bilinear, with the pixels' centres lined up as in the usual image tools' resize, on 32-bit pixels
// (DibColours::kTrueColour32).  Takes the source's rows top-down and makes the top visibleRows rows
// of the picture scaled to scaledWidth x scaledHeight, each as soon as the rows it needs are in.
class PictureScaler : public JpegRowSink {
   public:
    // Far beyond any screen, yet within what a 32-bit process can hope to allocate.
    static constexpr int kMaxScaledWidth = 1 << 16;
    static constexpr std::size_t kMaxScaledBytes = std::size_t(256) << 20;

    // Throws std::bad_alloc when the scaled rows would be wider or larger than the limits above,
    // or when there is no memory for them.
    PictureScaler(PictureSize source, int scaledWidth, int scaledHeight, int visibleRows);

    // False for sizes that aren't positive: then nothing is scaled.
    bool Valid() const { return valid_; }
    // A row of another width than the source's makes the scaler invalid.
    void TakeRow(const std::uint8_t* pixels, int width) override;
    // True when every visible row is made.
    bool Finished() const { return valid_ && nextScaledRow_ == scaled_.height; }
    // The scaled picture, bottom-up as a DIB; empty (height 0) unless Finished().
    DibPicture TakePicture();

   private:
    struct Tap {
        int first;
        std::uint32_t secondWeight;
    };
    static Tap TapAt(int scaled, int sourceLength, int scaledLength);
    void ScaleAlongX(const std::uint32_t* source, std::uint32_t* out) const;
    void MakeReadyRows();

    bool valid_;
    PictureSize source_;
    int scaledHeight_;
    DibPicture scaled_;
    std::vector<Tap> taps_;
    // The two latest source rows, scaled along x: rows_[latest_] is row sourceRows_ - 1.
    std::vector<std::uint32_t> rows_[2];
    int latest_ = 1;
    int sourceRows_ = 0;
    int nextScaledRow_ = 0;

    friend int SourceRowsForTop(int, int, int);
};

// The same for a picture held whole: the top visibleRows rows of source, a 32-bit picture holding at
// least the SourceRowsForTop of a picture sourceFullHeight rows high.  Empty (height 0) for any
// other source or a size that isn't positive.
DibPicture ScaleTopRows(const DibPicture& source, int sourceFullHeight, int scaledWidth, int scaledHeight,
                        int visibleRows);

}  // namespace autorun
