// Fuzzes the splash picture's decoder with any bytes in place of the JPEG: it must give an error or
// a picture that StretchDIBits can draw without reading outside the pixels or the palette.
#include <cstddef>
#include <cstdint>

#include "fuzz_require.h"
#include "jpeg_decoder.h"

namespace {

using fuzzing::Require;

// A large picture takes seconds to decode under the sanitizers, rightly so; such inputs are left
// out, so that the fuzzer spends its time on the structure of the streams.  The splash has 800 x
// 600 pixels.  (A header of a few bytes can announce 65500 x 65500, and with arithmetic coding
// libjpeg decodes the missing data as zeros without a warning.)
constexpr long long kMaxFuzzedPixels = 1 << 20;

void CheckLayout(const autorun::DibPicture& picture, const autorun::PictureSize& size, int bitsPerPixel) {
    Require(picture.width == size.width && picture.height == size.height);
    Require(picture.bitsPerPixel == bitsPerPixel);
    Require(picture.stride % 4 == 0);
    Require(picture.stride >= std::size_t(picture.width) * std::size_t(bitsPerPixel) / 8);
    Require(picture.pixels.size() == picture.stride * std::size_t(picture.height));
}

// Every pixel names an entry of the palette that goes with the picture.
void CheckPaletteIndices(const autorun::DibPicture& picture) {
    Require(!picture.palette.empty() && picture.palette.size() <= std::size_t(autorun::kPaletteColours));
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.pixels.data() + std::size_t(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x) Require(row[x] < picture.palette.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto header = autorun::ReadJpegSize(data, size);
    if (header && static_cast<long long>(header.value->width) * header.value->height > kMaxFuzzedPixels)
        return -1;  // not worth keeping in the corpus either
    const auto trueColour = autorun::DecodeJpeg(data, size, autorun::DibColours::kTrueColour);
    const auto palette = autorun::DecodeJpeg(data, size, autorun::DibColours::kPalette);
    Require(header || !trueColour);
    Require(bool(trueColour) || !trueColour.error.empty());
    if (trueColour) CheckLayout(*trueColour.value, *header.value, 24);
    if (palette) {
        CheckLayout(*palette.value, *header.value, 8);
        CheckPaletteIndices(*palette.value);
    }
    return 0;
}
