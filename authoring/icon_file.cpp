#include "icon_file.h"

#include <algorithm>
#include <string>

namespace authoring {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::uint16_t kIconType = 1;
constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

int Dimension(std::uint8_t stored) {
    return stored == 0 ? 256 : stored;
}

std::uint32_t ReadU32BigEndian(const Bytes& bytes, std::size_t offset) {
    RequireRange(bytes, offset, 4, "a PNG header field");
    return autorun::LoadBigU32(bytes.data() + offset);
}

bool IsPng(const Bytes& data) {
    return data.size() >= sizeof kPngSignature &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin());
}

// The image's own header must agree with the directory entry, or Windows shows garbage or nothing.
void CheckImage(IconImage& image, std::size_t index) {
    const std::string which = "image " + std::to_string(index + 1);
    if (IsPng(image.data)) {
        image.png = true;
        const std::uint32_t width = ReadU32BigEndian(image.data, 16);
        const std::uint32_t height = ReadU32BigEndian(image.data, 20);
        if (int(width) != image.width || int(height) != image.height)
            throw IconFormatError(which + " is a " + std::to_string(width) + " x " + std::to_string(height) +
                                  " PNG, but the directory says " + std::to_string(image.width) + " x " +
                                  std::to_string(image.height));
        if (image.bitCount == 0) image.bitCount = 32;
        if (image.planes == 0) image.planes = 1;
        return;
    }
    if (ReadU32(image.data, 0, "a bitmap header") != kBitmapInfoHeaderSize)
        throw IconFormatError(which + " is neither a PNG nor a bitmap");
    const std::int32_t width = std::int32_t(ReadU32(image.data, 4));
    const std::int32_t doubledHeight = std::int32_t(ReadU32(image.data, 8));
    if (width != image.width || doubledHeight != 2 * image.height)
        throw IconFormatError(which + "'s bitmap is " + std::to_string(width) + " x " +
                              std::to_string(doubledHeight / 2) + ", but the directory says " +
                              std::to_string(image.width) + " x " + std::to_string(image.height));
    if (image.planes == 0) image.planes = ReadU16(image.data, 12);
    if (image.bitCount == 0) image.bitCount = ReadU16(image.data, 14);
}

// What a file's directory entry and a group's entry share, read from the entry at `entry`.
IconImage ReadDirectoryFields(const Bytes& bytes, std::size_t entry) {
    RequireRange(bytes, entry, 8, "an icon directory entry");
    IconImage image;
    image.width = Dimension(bytes[entry]);
    image.height = Dimension(bytes[entry + 1]);
    image.colourCount = bytes[entry + 2];
    image.planes = ReadU16(bytes, entry + 4);
    image.bitCount = ReadU16(bytes, entry + 6);
    return image;
}

IconImage ReadEntry(const Bytes& file, std::size_t index) {
    const std::size_t entry = kHeaderSize + index * kFileEntrySize;
    IconImage image = ReadDirectoryFields(file, entry);
    const std::uint32_t size = ReadU32(file, entry + 8);
    const std::uint32_t offset = ReadU32(file, entry + 12);
    if (size == 0 || offset > file.size() || size > file.size() - offset)
        throw IconFormatError("image " + std::to_string(index + 1) + " lies beyond the end of the file");
    image.data.assign(file.data() + offset, file.data() + offset + size);
    CheckImage(image, index);
    return image;
}

// What a file's directory entry and a group's entry share; the image's place follows.
void AppendDirectoryFields(Bytes& out, const IconImage& image) {
    out.push_back(std::uint8_t(image.width & 0xff));
    out.push_back(std::uint8_t(image.height & 0xff));
    out.push_back(image.colourCount);
    out.push_back(0);
    AppendU16(out, image.planes);
    AppendU16(out, image.bitCount);
    AppendU32(out, std::uint32_t(image.data.size()));
}

std::uint16_t GroupEntryId(const Bytes& group, std::size_t index) {
    return ReadU16(group, kHeaderSize + index * kGroupEntrySize + 12, "the icon group");
}

}  // namespace

std::vector<IconImage> ReadIconFile(const Bytes& file) {
    try {
        if (file.size() < kHeaderSize || ReadU16(file, 0) != 0 || ReadU16(file, 2) != kIconType)
            throw IconFormatError("not an icon file (.ico)");
        const std::uint16_t count = ReadU16(file, 4);
        if (count == 0) throw IconFormatError("the icon file holds no images");
        RequireRange(file, kHeaderSize, count * kFileEntrySize, "the icon directory");
        std::vector<IconImage> images;
        for (std::size_t i = 0; i < count; ++i) images.push_back(ReadEntry(file, i));
        return images;
    } catch (const TruncatedData& error) {
        throw IconFormatError(std::string("damaged icon file: ") + error.what());
    }
}

bool HasXpIcon(const std::vector<IconImage>& images) {
    return std::any_of(images.begin(), images.end(), [](const IconImage& image) {
        return !image.png && image.width == 32 && image.height == 32;
    });
}

Bytes BuildIconGroup(const std::vector<IconImage>& images, std::uint16_t firstId) {
    Bytes group;
    AppendU16(group, 0);
    AppendU16(group, kIconType);
    AppendU16(group, std::uint16_t(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        AppendDirectoryFields(group, images[i]);
        AppendU16(group, std::uint16_t(firstId + i));
    }
    return group;
}

std::vector<std::uint16_t> IconGroupMembers(const Bytes& group) {
    try {
        const std::uint16_t count = ReadU16(group, 4, "the icon group");
        std::vector<std::uint16_t> ids;
        for (std::size_t i = 0; i < count; ++i) ids.push_back(GroupEntryId(group, i));
        return ids;
    } catch (const TruncatedData& error) {
        throw IconFormatError(error.what());
    }
}

std::vector<IconImage> IconGroupImages(const Bytes& group,
                                       const std::function<const Bytes*(std::uint16_t)>& imageById) {
    try {
        if (ReadU16(group, 2, "the icon group") != kIconType)
            throw IconFormatError("the group is no icon group");
        const std::uint16_t count = ReadU16(group, 4, "the icon group");
        if (count == 0) throw IconFormatError("the icon group names no images");
        std::vector<IconImage> images;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint16_t id = GroupEntryId(group, i);
            const Bytes* data = imageById(id);
            if (!data || data->empty())
                throw IconFormatError("the icon group names image " + std::to_string(id) +
                                      ", which is missing");
            IconImage image = ReadDirectoryFields(group, kHeaderSize + i * kGroupEntrySize);
            image.data = *data;
            CheckImage(image, i);
            images.push_back(std::move(image));
        }
        return images;
    } catch (const TruncatedData& error) {
        throw IconFormatError(error.what());
    }
}

Bytes BuildIconFile(const std::vector<IconImage>& images) {
    Bytes file;
    AppendU16(file, 0);
    AppendU16(file, kIconType);
    AppendU16(file, std::uint16_t(images.size()));
    std::size_t offset = kHeaderSize + images.size() * kFileEntrySize;
    for (const IconImage& image : images) {
        AppendDirectoryFields(file, image);
        AppendU32(file, std::uint32_t(offset));
        offset += image.data.size();
    }
    for (const IconImage& image : images) file.insert(file.end(), image.data.begin(), image.data.end());
    return file;
}

}  // namespace authoring
