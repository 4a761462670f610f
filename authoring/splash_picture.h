// Splash pictures: what the launcher can show, checked before it goes onto a disc.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "little_endian.h"

namespace authoring {

// The picture would not show; what() says why and what to do, without naming the file.
class PictureError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

constexpr int kMaxSplashWidth = 8192;
constexpr int kMinSplashSide = 16;

struct SplashPicture {
    Bytes jpeg;  // what goes into the launcher, byte for byte
    int width = 0;
    int height = 0;
};

// Checks a JPEG with the launcher's own decoder and the limits the launcher's drawing has.  Throws
// PictureError.
SplashPicture CheckSplashJpeg(Bytes jpeg);

// A JPEG as it is, a PNG converted to a baseline JPEG (where the build has libpng); anything else is
// refused.  Throws PictureError.
SplashPicture PrepareSplash(const Bytes& file);

// How much of the picture's height a screen of one shape shows: the launcher scales the picture to the
// screen's width and cuts what falls below the screen.
struct ScreenFit {
    std::string text;  // e.g. "16:9 screens show 75% of its height (the bottom 150 of 600 rows are cut)"
    bool cut = false;
};

// For 4:3, 16:10 and 16:9 screens.
std::vector<ScreenFit> DescribeVisibleHeight(int width, int height);

}  // namespace authoring
