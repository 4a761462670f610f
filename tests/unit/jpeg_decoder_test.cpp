#include "jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>

#include "resource_ids.h"

// clang-format off
#include <cstdio>  // jpeglib.h uses FILE and size_t without declaring them
#include <jpeglib.h>
// clang-format on

#ifdef _WIN32
#include <windows.h>
#else
#include <fstream>
#include <iterator>
#endif

namespace autorun {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    int red, green, blue;
};

// Compresses a picture drawn by `colourAt(x, y)`: quality 100 and no chroma subsampling, so that
// blocks of one colour come back within a few levels of it.
Bytes CompressJpeg(int width, int height, const std::function<Rgb(int, int)>& colourAt, bool grey = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * std::size_t(info.input_components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            const std::size_t at = std::size_t(x);
            if (grey) {
                row[at] = JSAMPLE(c.red);
            } else {
                row[3 * at] = JSAMPLE(c.red), row[3 * at + 1] = JSAMPLE(c.green),
                        row[3 * at + 2] = JSAMPLE(c.blue);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes jpeg(buffer, buffer + size);
    std::free(buffer);
    return jpeg;
}

#ifdef _WIN32
// The splash picture as the launcher finds it: linked into this test from the same resource script.
Bytes ResourceBytes(const char* name, LPCSTR type) {
    const HRSRC found = FindResourceA(nullptr, name, type);
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    if (!loaded) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    return Bytes(data, data + SizeofResource(nullptr, found));
}

Bytes SplashBytes() {
    return ResourceBytes(kSplashResource, RT_RCDATA);
}
#else
Bytes SplashBytes() {
    std::ifstream in(AUTORUN_SPLASH_JPG, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
#endif

// The colour of picture pixel (x, y), counting y from the top, in a decoded DIB.
Rgb PixelAt(const DibPicture& picture, int x, int y) {
    const std::uint8_t* row = picture.pixels.data() + std::size_t(picture.height - 1 - y) * picture.stride;
    if (picture.bitsPerPixel == 8) {
        const PaletteEntry& entry = picture.palette.at(row[x]);
        return {entry.red, entry.green, entry.blue};
    }
    return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
}

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance) {
    EXPECT_NEAR(actual.red, expected.red, tolerance);
    EXPECT_NEAR(actual.green, expected.green, tolerance);
    EXPECT_NEAR(actual.blue, expected.blue, tolerance);
}

std::size_t PaletteIndexAt(const DibPicture& picture, int x, int y) {
    return picture.pixels[std::size_t(picture.height - 1 - y) * picture.stride + std::size_t(x)];
}

class RealSplash : public ::testing::Test {
   protected:
    void SetUp() override { ASSERT_FALSE(jpeg_.empty()) << "splash picture not found"; }
    const Bytes jpeg_ = SplashBytes();
};

TEST_F(RealSplash, CarriesTheDeclaredJfifHeaderAndSize) {
    // "JFIF\0", version 1.02, dots per inch, 300 x 300.
    const Bytes jfif = {'J', 'F', 'I', 'F', 0, 1, 2, 1, 0x01, 0x2C, 0x01, 0x2C};
    ASSERT_GE(jpeg_.size(), 6 + jfif.size());
    EXPECT_TRUE(std::equal(jfif.begin(), jfif.end(), jpeg_.begin() + 6));

    const auto size = ReadJpegSize(jpeg_.data(), jpeg_.size());
    ASSERT_TRUE(size) << size.error;
    EXPECT_EQ(size.value->width, 800);
    EXPECT_EQ(size.value->height, 600);
}

TEST_F(RealSplash, DecodesToTrueColourWithBrightEdges) {
    const auto decoded = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour);
    ASSERT_TRUE(decoded) << decoded.error;
    const DibPicture& picture = *decoded.value;
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 600);
    EXPECT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.stride, 2400u);
    EXPECT_EQ(picture.pixels.size(), 2400u * 600);
    EXPECT_TRUE(picture.palette.empty());

    // Where the picture was drawn is found by its non-black pixels, so every edge must be bright.
    int dimmestEdge = 255;
    for (int x = 0; x < 800; ++x)
        for (int y = 0; y < 600; y += (x == 0 || x == 799) ? 1 : 599) {
            const Rgb c = PixelAt(picture, x, y);
            dimmestEdge = std::min(dimmestEdge, std::max({c.red, c.green, c.blue}));
        }
    EXPECT_GE(dimmestEdge, 128);
}

TEST_F(RealSplash, QuantizesToExactly236ColoursCloseToTrueColour) {
    const auto truecolour = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour);
    const auto quantized = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kPalette);
    ASSERT_TRUE(truecolour && quantized) << truecolour.error << quantized.error;
    const DibPicture& picture = *quantized.value;
    EXPECT_EQ(picture.bitsPerPixel, 8);
    EXPECT_EQ(picture.stride, 800u);
    ASSERT_EQ(picture.pixels.size(), 800u * 600);
    ASSERT_EQ(picture.palette.size(), std::size_t(kPaletteColours));
    EXPECT_LT(*std::max_element(picture.pixels.begin(), picture.pixels.end()), kPaletteColours);

    long long error = 0;
    std::set<int> used;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const Rgb q = PixelAt(picture, x, y), t = PixelAt(*truecolour.value, x, y);
            error += std::abs(q.red - t.red) + std::abs(q.green - t.green) + std::abs(q.blue - t.blue);
            used.insert(int(PaletteIndexAt(picture, x, y)));
        }
    EXPECT_LT(double(error) / (800 * 600 * 3), 6.0);  // dithering noise, not a wrong palette
    EXPECT_GT(used.size(), 200u);
}

TEST_F(RealSplash, DecodesOnlyTheTopRowsAskedForExactlyAsTheWholePicturesTop) {
    const auto whole = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour);
    const auto top = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour, 451);
    ASSERT_TRUE(whole && top) << whole.error << top.error;
    EXPECT_EQ(top.value->width, 800);
    ASSERT_EQ(top.value->height, 451);
    ASSERT_EQ(top.value->pixels.size(), 2400u * 451);
    // Bottom-up: the whole picture's top 451 rows are the last 451 of its buffer.
    EXPECT_TRUE(std::equal(top.value->pixels.begin(), top.value->pixels.end(),
                           whole.value->pixels.end() - std::ptrdiff_t(top.value->pixels.size())));

    // More rows than the picture has, or the palette, whose quantizer needs every row: the whole.
    const auto more = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour, 601);
    ASSERT_TRUE(more) << more.error;
    EXPECT_EQ(more.value->height, 600);
    const auto palette = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kPalette, 100);
    ASSERT_TRUE(palette) << palette.error;
    EXPECT_EQ(palette.value->height, 600);
}

TEST_F(RealSplash, Decodes32BitPixelsWithTheSameColoursAs24Bit) {
    const auto three = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour);
    const auto four = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour32, 300);
    ASSERT_TRUE(three && four) << three.error << four.error;
    EXPECT_EQ(four.value->bitsPerPixel, 32);
    ASSERT_EQ(four.value->stride, 3200u);
    ASSERT_EQ(four.value->height, 300);
    for (int y = 0; y < 300; y += 37)
        for (int x = 0; x < 800; x += 53) {
            const std::uint8_t* a = &three.value->pixels[std::size_t(599 - y) * 2400 + std::size_t(3 * x)];
            const std::uint8_t* b = &four.value->pixels[std::size_t(299 - y) * 3200 + std::size_t(4 * x)];
            ASSERT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << x << "," << y;
        }
}

// Keeps the rows it is given, top-down.
class RowCollector : public JpegRowSink {
   public:
    void TakeRow(const std::uint8_t* pixels, int width) override {
        rows.emplace_back(pixels, pixels + 4 * width);
    }
    std::vector<Bytes> rows;
};

TEST_F(RealSplash, StreamsTheTopRowsAsThe32BitDecodeHasThem) {
    const auto whole = DecodeJpeg(jpeg_.data(), jpeg_.size(), DibColours::kTrueColour32);
    RowCollector collector;
    const auto streamed = DecodeJpegRows(jpeg_.data(), jpeg_.size(), 451, collector);
    ASSERT_TRUE(whole && streamed) << whole.error << streamed.error;
    EXPECT_EQ(streamed.value->width, 800);
    EXPECT_EQ(streamed.value->height, 600);
    ASSERT_EQ(collector.rows.size(), 451u);
    for (std::size_t y = 0; y < 451; y += 50) {
        const std::uint8_t* expected = &whole.value->pixels[(599 - y) * 3200];
        EXPECT_TRUE(std::equal(collector.rows[y].begin(), collector.rows[y].end(), expected)) << "row " << y;
    }
    RowCollector all;
    ASSERT_TRUE(DecodeJpegRows(jpeg_.data(), jpeg_.size(), kAllRows, all));
    EXPECT_EQ(all.rows.size(), 600u);
}

TEST_F(RealSplash, StreamingReportsATruncatedPicture) {
    RowCollector collector;
    const auto streamed = DecodeJpegRows(jpeg_.data(), jpeg_.size() / 2, kAllRows, collector);
    EXPECT_FALSE(streamed);
    EXPECT_FALSE(streamed.error.empty());
    EXPECT_LT(collector.rows.size(), 600u);
}

// 801 pixels: a row of 2403 bytes that needs one byte of padding.  Top half red, bottom half blue,
// the last column green; the blocks are uniform so that the colours survive compression.
Rgb OddWidthColour(int x, int y) {
    if (x == 800) return {0, 255, 0};
    return y < 8 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
}

class OddWidth : public ::testing::Test {
   protected:
    JpegResult<DibPicture> Decode(DibColours colours) {
        return DecodeJpeg(jpeg_.data(), jpeg_.size(), colours);
    }
    const Bytes jpeg_ = CompressJpeg(801, 16, OddWidthColour);
};

TEST_F(OddWidth, PadsRowsAndStoresThemBottomUpInBgr) {
    const auto decoded = Decode(DibColours::kTrueColour);
    ASSERT_TRUE(decoded) << decoded.error;
    const DibPicture& picture = *decoded.value;
    EXPECT_EQ(picture.width, 801);
    ASSERT_EQ(picture.stride, 2404u);
    ASSERT_EQ(picture.pixels.size(), 2404u * 16);

    // The picture's top-left pixel is red; it lives in the last DIB row, stored blue-green-red.
    const std::uint8_t* topLeft = &picture.pixels[15 * 2404];
    EXPECT_LE(topLeft[0], 6);
    EXPECT_LE(topLeft[1], 6);
    EXPECT_GE(topLeft[2], 249);
    // The picture's bottom-left pixel is blue and opens the buffer.
    EXPECT_GE(picture.pixels[0], 249);
    EXPECT_LE(picture.pixels[2], 6);
    // The last column of the second DIB row starts 2404 + 800 * 3 bytes in.
    EXPECT_GE(picture.pixels[2404 + 2400 + 1], 249);
    EXPECT_LE(picture.pixels[2404 + 2400 + 0], 6);
    for (std::size_t row = 0; row < 16; ++row)
        EXPECT_EQ(picture.pixels[row * 2404 + 2403], 0) << "padding, row " << row;
}

TEST_F(OddWidth, PadsPaletteRowsAndIndexesTheRightColours) {
    const auto decoded = Decode(DibColours::kPalette);
    ASSERT_TRUE(decoded) << decoded.error;
    const DibPicture& picture = *decoded.value;
    EXPECT_EQ(picture.bitsPerPixel, 8);
    ASSERT_EQ(picture.stride, 804u);
    ASSERT_EQ(picture.pixels.size(), 804u * 16);
    // Few colours in the picture give a short palette; every index must still fall inside it.
    ASSERT_FALSE(picture.palette.empty());
    ASSERT_LE(picture.palette.size(), std::size_t(kPaletteColours));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 801; ++x) ASSERT_LT(PaletteIndexAt(picture, x, y), picture.palette.size());
    ExpectNear(PixelAt(picture, 0, 0), {255, 0, 0}, 24);
    ExpectNear(PixelAt(picture, 400, 15), {0, 0, 255}, 24);
    ExpectNear(PixelAt(picture, 800, 3), {0, 255, 0}, 24);
}

TEST(JpegDecoderLayout, ExpandsGreyPicturesToThreeChannels) {
    const Bytes jpeg = CompressJpeg(
        9, 9,
        [](int x, int) {
            return Rgb{x * 25, 0, 0};
        },
        true);
    const auto decoded = DecodeJpeg(jpeg.data(), jpeg.size(), DibColours::kTrueColour);
    ASSERT_TRUE(decoded) << decoded.error;
    const DibPicture& picture = *decoded.value;
    EXPECT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.stride, 28u);
    const Rgb c = PixelAt(picture, 8, 4);
    EXPECT_NEAR(c.red, 200, 6);
    EXPECT_EQ(c.red, c.green);
    EXPECT_EQ(c.red, c.blue);
}

// Every decoding entry point must refuse the data with a message, never exit or crash.
void ExpectRefused(const Bytes& jpeg, const char* what) {
    SCOPED_TRACE(what);
    const std::uint8_t* data = jpeg.empty() ? nullptr : jpeg.data();
    for (DibColours colours : {DibColours::kTrueColour, DibColours::kPalette}) {
        const auto decoded = DecodeJpeg(data, jpeg.size(), colours);
        EXPECT_FALSE(decoded);
        EXPECT_FALSE(decoded.error.empty());
    }
}

TEST(JpegDecoderDamage, RefusesDataThatIsNoJpeg) {
    ExpectRefused({}, "no data");
    ExpectRefused(Bytes(4096, 0), "zero bytes");
    Bytes garbage(4096);
    unsigned state = 12345;
    for (auto& byte : garbage) byte = std::uint8_t((state = state * 1103515245u + 12345u) >> 16);
    ExpectRefused(garbage, "garbage");
    garbage[0] = 0xFF, garbage[1] = 0xD8;
    ExpectRefused(garbage, "garbage after a start-of-image marker");

    EXPECT_FALSE(ReadJpegSize(nullptr, 0));
    const auto size = ReadJpegSize(garbage.data(), garbage.size());
    EXPECT_FALSE(size);
    EXPECT_FALSE(size.error.empty());
}

TEST_F(RealSplash, RefusesTruncatedCopies) {
    // A cut inside the compressed data leaves a readable header: only decoding notices.
    for (std::size_t length : {jpeg_.size() / 2, jpeg_.size() - 2}) {
        const Bytes cut(jpeg_.begin(), jpeg_.begin() + std::ptrdiff_t(length));
        ExpectRefused(cut, "cut in the scan data");
        EXPECT_TRUE(ReadJpegSize(cut.data(), cut.size()));
    }
    for (std::size_t length : {std::size_t(2), std::size_t(100)}) {
        const Bytes cut(jpeg_.begin(), jpeg_.begin() + std::ptrdiff_t(length));
        ExpectRefused(cut, "cut in the headers");
        EXPECT_FALSE(ReadJpegSize(cut.data(), cut.size()));
    }
}

// Offset of the frame header's height field, found by walking the marker segments.
std::size_t FrameDimensionsOffset(const Bytes& jpeg) {
    std::size_t offset = 2;
    while (offset + 4 <= jpeg.size() && jpeg[offset] == 0xFF) {
        if (jpeg[offset + 1] == 0xC0) return offset + 5;
        offset += 2 + (std::size_t(jpeg[offset + 2]) << 8 | jpeg[offset + 3]);
    }
    return 0;
}

TEST(JpegDecoderDamage, RefusesAnAnnouncedSizeTooLargeToAllocate) {
    Bytes jpeg = CompressJpeg(8, 8, [](int, int) { return Rgb{90, 90, 90}; });
    const std::size_t dimensions = FrameDimensionsOffset(jpeg);
    ASSERT_NE(dimensions, 0u);
    const std::uint8_t huge[] = {0xFF, 0xDC, 0xFF, 0xDC};  // 65500 x 65500
    std::memcpy(&jpeg[dimensions], huge, sizeof huge);

    const auto size = ReadJpegSize(jpeg.data(), jpeg.size());
    ASSERT_TRUE(size) << size.error;
    EXPECT_EQ(size.value->width, 65500);
    const auto decoded = DecodeJpeg(jpeg.data(), jpeg.size(), DibColours::kPalette);
    EXPECT_FALSE(decoded);
    EXPECT_NE(decoded.error.find("too large"), std::string::npos) << decoded.error;
}

#ifdef _WIN32
// The icon group lists its images as (width, height, colour count, reserved, planes, bit count,
// size, id), 14 bytes each after a 6-byte header.
TEST(ResourceScript, HoldsTheFourIconImagesAndTheManifest) {
    const Bytes group = ResourceBytes(kMainIconResource, RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6u + 4 * 14);
    ASSERT_EQ(group[4], 4);
    const int expected[4][2] = {{16, 8}, {16, 24}, {32, 8}, {32, 24}};
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t* entry = &group[6 + 14 * std::size_t(i)];
        EXPECT_EQ(entry[0], expected[i][0]);
        EXPECT_EQ(entry[1], expected[i][0]);
        EXPECT_EQ(entry[6], expected[i][1]);
    }
    const HICON icon =
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), kMainIconResource, IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
    EXPECT_FALSE(ResourceBytes(MAKEINTRESOURCEA(1), RT_MANIFEST).empty());
}
#endif

}  // namespace
}  // namespace autorun
