// Fuzzes the preparation of a splash picture with any bytes in place of the PNG or JPEG a disc author
// names: it gives a PictureError or a JPEG the launcher shows, within the launcher's limits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "fuzz_require.h"
#include "jpeg_decoder.h"
#include "splash_picture.h"

namespace {

using authoring::Bytes;
using fuzzing::Require;

// Large pictures take seconds to convert and decode under the sanitizers, rightly so; they are left
// out so that the fuzzer spends its time on the files' structure (as jpeg_decoder_fuzzer does).
constexpr std::uint64_t kMaxFuzzedPixels = 1 << 18;

constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

std::uint32_t BigEndian32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8 | at[3];
}

// libpng insists on IHDR as the first chunk, so its width and height sit at fixed offsets.
bool TooLarge(const std::uint8_t* data, std::size_t size) {
    if (size >= 24 && std::equal(std::begin(kPngSignature), std::end(kPngSignature), data))
        return std::uint64_t(BigEndian32(data + 16)) * BigEndian32(data + 20) > kMaxFuzzedPixels;
    const auto header = autorun::ReadJpegSize(data, size);
    return header &&
           std::uint64_t(header.value->width) * std::uint64_t(header.value->height) > kMaxFuzzedPixels;
}

bool IsJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 2 && data[0] == 0xff && data[1] == 0xd8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (TooLarge(data, size)) return -1;  // not worth keeping in the corpus either
    const Bytes file(data, data + size);
    authoring::SplashPicture picture;
    try {
        picture = authoring::PrepareSplash(file);
    } catch (const authoring::PictureError&) {
        return 0;
    }
    Require(picture.width >= authoring::kMinSplashSide && picture.width <= authoring::kMaxSplashWidth);
    Require(picture.height >= authoring::kMinSplashSide);
    // A JPEG goes onto the disc byte for byte; a PNG becomes one that the launcher's decoder reads.
    if (IsJpeg(data, size)) {
        Require(picture.jpeg == file);
    } else {
        const auto decoded =
            autorun::DecodeJpeg(picture.jpeg.data(), picture.jpeg.size(), autorun::DibColours::kTrueColour);
        Require(decoded && decoded.value->width == picture.width && decoded.value->height == picture.height);
    }
    for (const authoring::ScreenFit& fit : authoring::DescribeVisibleHeight(picture.width, picture.height))
        Require(!fit.text.empty());
    return 0;
}
