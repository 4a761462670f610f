// The launcher's icon made from a picture, for authors who have a logo but no .ico file.
#pragma once

#include <vector>

#include "icon_file.h"

namespace authoring {

// The sides of the icon images made from a picture: 16, 32 and 48 as 32-bit bitmaps, which every
// Windows from XP on shows (the Start menu, AutoPlay and Explorer's views), and 256 as a PNG for the
// large views of Vista and later.
inline constexpr int kIconSidesFromPicture[] = {256, 48, 32, 16};
// Beyond this a picture costs more memory to shrink than an icon is worth.
inline constexpr int kMaxIconPictureSide = 4096;

// A PNG or JPEG picture scaled, keeping its shape, into square icon images, centred on transparent
// margins.  Throws PictureError.
std::vector<IconImage> IconImagesFromPicture(const Bytes& picture);

// The images of an .ico file as they are, or those made from a PNG or JPEG picture.  Throws
// IconFormatError or PictureError.
std::vector<IconImage> ReadIconSource(const Bytes& file);

}  // namespace authoring
