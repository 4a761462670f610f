// The launcher's own look: its splash picture, icon and version strings, read and replaced in the
// executable's resources.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "icon_file.h"
#include "little_endian.h"

namespace authoring {

// The executable is not a launcher this tool can brand; what() says why, without naming the file.
class BrandingError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

struct Branding {
    std::optional<Bytes> splashJpeg;             // checked already: the launcher can show it
    std::optional<std::vector<IconImage>> icon;  // every image of the .ico file
    std::optional<std::u16string> product;       // ProductName and FileDescription
    std::optional<std::u16string> company;       // CompanyName

    bool Empty() const { return !splashJpeg && !icon && !product && !company; }
};

// A copy of `launcher` with the branding applied.  Throws BrandingError or PeFormatError.
Bytes BrandLauncher(const Bytes& launcher, const Branding& branding);

// The splash picture embedded in a launcher.  Throws BrandingError when it has none, PeFormatError
// when the executable is damaged.
Bytes ReadSplashResource(const Bytes& launcher);

// The launcher's icon MAINICON, every image of it in the group's order.  Throws BrandingError when it
// has none or the icon is damaged, PeFormatError when the executable is damaged.
std::vector<IconImage> ReadMainIcon(const Bytes& launcher);

}  // namespace authoring
