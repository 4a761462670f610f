// Decoding of a JPEG held in memory, at full scale, into the layout of a device-independent bitmap
// that the GDI draws as it is.  Plain C++ on libjpeg, so that it is tested on any platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace autorun {

// Colours in a palette-based display's system palette that applications may use (256 less the 20
// reserved ones).
constexpr int kPaletteColours = 236;

struct PictureSize {
    int width;
    int height;
};

struct PaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

enum class DibColours {
    kTrueColour,    // 24 bits per pixel, blue-green-red
    kTrueColour32,  // 32 bits per pixel, blue-green-red and a byte that doesn't count
    kPalette,       // 8-bit indices into at most kPaletteColours entries chosen for the picture
};

// Rows run bottom-up, each padded to a multiple of 4 bytes, as in a BITMAPINFO-described DIB.
struct DibPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // 24, 32 or 8
    std::size_t stride = 0;
    std::vector<std::uint8_t> pixels;   // height * stride bytes, the picture's bottom row first
    std::vector<PaletteEntry> palette;  // for 8 bits per pixel only: kPaletteColours entries, or
                                        // fewer when the picture has fewer colours
};

// Either the value or, when libjpeg refused the data, its reason.
template <typename T>
struct JpegResult {
    std::optional<T> value;
    std::string error;

    explicit operator bool() const { return value.has_value(); }
};

// Reads only as far as the frame header.
JpegResult<PictureSize> ReadJpegSize(const std::uint8_t* data, std::size_t size);

constexpr int kAllRows = 0;

// Damaged data, including a truncated stream that libjpeg would merely warn about and pad with
// grey, gives an error instead of a picture.  With topRows fewer than the picture's height only that
// many rows from the top are decoded, for a picture whose lower part isn't shown (and damage below
// them goes unnoticed); the result is then topRows high.
JpegResult<DibPicture> DecodeJpeg(const std::uint8_t* data, std::size_t size, DibColours colours,
                                  int topRows = kAllRows);

// Takes a picture's rows one at a time, as they are decoded.
class JpegRowSink {
   public:
    virtual ~JpegRowSink() = default;
    // The next row, top-down: width pixels of 4 bytes as in DibColours::kTrueColour32, valid during
    // the call only.
    virtual void TakeRow(const std::uint8_t* pixels, int width) = 0;
};

// Decodes the picture's top rows (all of them for kAllRows or more) into the sink without holding
// the picture in memory; gives the picture's full size.  An error can come after some rows have
// gone to the sink.
JpegResult<PictureSize> DecodeJpegRows(const std::uint8_t* data, std::size_t size, int topRows,
                                       JpegRowSink& sink);

}  // namespace autorun
