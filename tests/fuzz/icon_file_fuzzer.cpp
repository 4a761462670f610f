// Fuzzes the .ico reader with any bytes in place of the icon a disc author names: it gives an
// IconFormatError or images that an icon group can name, each as the directory describes it.
#include <cstddef>
#include <cstdint>

#include "fuzz_require.h"
#include "icon_file.h"

namespace {

using authoring::Bytes;
using fuzzing::Require;

constexpr std::uint16_t kFirstId = 7;

void CheckImage(const authoring::IconImage& image, std::size_t fileSize) {
    Require(image.width >= 1 && image.width <= 256 && image.height >= 1 && image.height <= 256);
    Require(!image.data.empty() && image.data.size() <= fileSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    std::vector<authoring::IconImage> images;
    try {
        images = authoring::ReadIconFile(file);
    } catch (const authoring::IconFormatError&) {
        return 0;
    }
    Require(!images.empty());
    for (const authoring::IconImage& image : images) CheckImage(image, size);
    authoring::HasXpIcon(images);

    // The group written for the images names each of them, in order, under consecutive identifiers.
    const auto members = authoring::IconGroupMembers(authoring::BuildIconGroup(images, kFirstId));
    Require(members.size() == images.size());
    for (std::size_t i = 0; i < members.size(); ++i) Require(members[i] == kFirstId + i);
    return 0;
}
