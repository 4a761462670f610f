// A picture held whole as 8-bit red, green, blue and alpha, alpha not premultiplied: what icons are
// made from, whatever the picture's own format.
#pragma once

#include "little_endian.h"

namespace authoring {

struct RgbaPicture {
    int width = 0;
    int height = 0;
    Bytes pixels;  // top row first, 4 bytes a pixel

    std::size_t Offset(int x, int y) const {
        return (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
    }
};

}  // namespace authoring
