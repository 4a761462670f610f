// Smooth scaling of a decoded true-colour picture, done once into a bitmap of the size it is shown
// at, so that every paint draws it 1:1 instead of asking the system to stretch it.
#pragma once

#include "jpeg_decoder.h"

namespace autorun {

// How many of a picture's top rows scaling it from sourceHeight to scaledHeight rows reads to make
// the scaled picture's top visibleRows rows: the rest of the picture need not even be decoded.
int SourceRowsForTop(int sourceHeight, int scaledHeight, int visibleRows);

// The top visibleRows rows of the picture scaled to scaledWidth x scaledHeight, bilinear, with the
// pixels' centres lined up as in the usual image tools' resize, as a 32-bit picture.  The source is
// a 32-bit picture (DibColours::kTrueColour32) that holds at least the SourceRowsForTop of a picture
// sourceFullHeight rows high.  Gives an empty picture (height 0) for any other source or a size
// that isn't positive.
DibPicture ScaleTopRows(const DibPicture& source, int sourceFullHeight, int scaledWidth, int scaledHeight,
                        int visibleRows);

}  // namespace autorun
