// The splash picture field as players will see it: the JPEG the launcher would carry, or the line
// that says why the picture won't do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace disc_maker {

struct SplashLook {
    std::vector<std::uint8_t> jpeg;  // empty when there is no picture or it won't do
    int width = 0;
    int height = 0;
    std::wstring problem;  // the make's words for it, naming the file as the field does
};

// Reads and prepares the picture as a make would (a PNG becomes the JPEG the tool makes of it).
SplashLook LookAtSplash(const std::wstring& path);

}  // namespace disc_maker
