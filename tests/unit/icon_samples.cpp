#include "icon_samples.h"

namespace authoring {

Bytes BitmapImage(int side) {
    Bytes image;
    AppendU32(image, 40);
    AppendU32(image, std::uint32_t(side));
    AppendU32(image, std::uint32_t(2 * side));
    AppendU16(image, 1);
    AppendU16(image, 32);
    image.resize(40 + std::size_t(side * side * 4 + side * 4), 0);
    return image;
}

Bytes PngImage(std::uint32_t side) {
    Bytes image = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int i = 0; i < 2; ++i) {
        image.push_back(std::uint8_t(side >> 24));
        image.push_back(std::uint8_t(side >> 16));
        image.push_back(std::uint8_t(side >> 8));
        image.push_back(std::uint8_t(side));
    }
    image.resize(64, 0);
    return image;
}

Bytes IcoFile(const std::vector<std::pair<int, Bytes>>& images) {
    Bytes file;
    AppendU16(file, 0);
    AppendU16(file, 1);
    AppendU16(file, std::uint16_t(images.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (const auto& image : images) {
        file.push_back(std::uint8_t(image.first & 0xff));
        file.push_back(std::uint8_t(image.first & 0xff));
        file.insert(file.end(), {0, 0, 0, 0, 0, 0});
        AppendU32(file, std::uint32_t(image.second.size()));
        AppendU32(file, offset);
        offset += std::uint32_t(image.second.size());
    }
    for (const auto& image : images) file.insert(file.end(), image.second.begin(), image.second.end());
    return file;
}

}  // namespace authoring
