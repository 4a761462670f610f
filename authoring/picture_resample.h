// Pictures made smaller (or larger) by averaging the area each new pixel covers, for icons: a point
// or bilinear sample of a large picture at 16 pixels picks a few source pixels and drops the rest.
// The average is weighted by alpha, so that transparent pixels' colours don't darken the edges.
// All arithmetic is in integers, so that every build makes the same bytes.
#pragma once

#include "rgba_picture.h"

namespace authoring {

// `source` at width x height; both at least 1.
RgbaPicture ResampleArea(const RgbaPicture& source, int width, int height);

// The picture scaled, keeping its shape, to fit a side x side square, centred on transparent pixels.
RgbaPicture FitIntoSquare(const RgbaPicture& source, int side);

}  // namespace authoring
