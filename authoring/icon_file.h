// .ico files: checked, and turned into the icon images and the icon group of an executable.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

#include "little_endian.h"

namespace authoring {

// The bytes are not a usable .ico file; what() says why, without naming the file.
class IconFormatError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

struct IconImage {
    int width = 0;   // 1 to 256
    int height = 0;  // 1 to 256
    std::uint8_t colourCount = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    bool png = false;  // PNG-compressed, as 256-pixel images usually are; otherwise a DIB
    Bytes data;
};

// Every image of the file, in its order.  Throws IconFormatError.
std::vector<IconImage> ReadIconFile(const Bytes& file);

// Windows XP shows only DIB images, and picks the 32 x 32 one for the AutoPlay dialog and Explorer.
bool HasXpIcon(const std::vector<IconImage>& images);

// The icon group resource naming `images` under the resource identifiers `firstId`, `firstId` + 1, ...
Bytes BuildIconGroup(const std::vector<IconImage>& images, std::uint16_t firstId);

// The identifiers of the icon images an icon group resource names.  Throws IconFormatError.
std::vector<std::uint16_t> IconGroupMembers(const Bytes& group);

// The images an icon group resource names, their bytes found by `imageById` (nullptr: there is none),
// checked as ReadIconFile checks a file's.  Throws IconFormatError.
std::vector<IconImage> IconGroupImages(const Bytes& group,
                                       const std::function<const Bytes*(std::uint16_t)>& imageById);

// The .ico file holding `images` in their order, as ReadIconFile reads it back.
Bytes BuildIconFile(const std::vector<IconImage>& images);

}  // namespace authoring
