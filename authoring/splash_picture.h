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

// For 4:3, 16:10 and 16:9 screens, how much of the picture's height the launcher shows: it scales the
// picture to the screen's width and cuts what falls below the screen.  One line each; `cut` is set
// when some screen shows less than all of it.
std::vector<std::string> DescribeVisibleHeight(int width, int height, bool& cut);

}  // namespace authoring
