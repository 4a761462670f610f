#include "picture_scaler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace autorun {
namespace {

constexpr int kWeightBits = 8;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;

// A scaled pixel's two nearest source pixels along one axis and the weight of the second, in
// 1/256ths.  Fixed point (16.16), so that the emulated 32-bit launcher doesn't pay for floats.
struct Tap {
    int first;
    std::uint32_t secondWeight;
};

Tap TapAt(int scaled, int sourceLength, int scaledLength) {
    // Source position of the scaled pixel's centre, less half a pixel: (scaled + 0.5) * ratio - 0.5.
    const std::int64_t ratio = (std::int64_t(sourceLength) << 16) / scaledLength;
    const std::int64_t position = (2 * std::int64_t(scaled) + 1) * ratio / 2 - (1 << 15);
    if (position <= 0) return {0, 0};
    const int first = static_cast<int>(position >> 16);
    if (first >= sourceLength - 1) return {sourceLength - 1, 0};
    return {first, static_cast<std::uint32_t>(position >> (16 - kWeightBits)) & (kWeightOne - 1)};
}

std::vector<Tap> TapsAlong(int sourceLength, int scaledLength) {
    std::vector<Tap> taps(scaledLength);
    for (int i = 0; i < scaledLength; ++i) taps[i] = TapAt(i, sourceLength, scaledLength);
    return taps;
}

// One source row scaled along x, kept at 8 more bits of precision for the blend along y.
void ScaleRow(const std::uint8_t* source, int sourceWidth, const std::vector<Tap>& taps, std::uint16_t* out) {
    for (const Tap& tap : taps) {
        const std::uint8_t* a = source + 3 * tap.first;
        const std::uint8_t* b = tap.first + 1 < sourceWidth ? a + 3 : a;
        const std::uint32_t wa = kWeightOne - tap.secondWeight, wb = tap.secondWeight;
        for (int channel = 0; channel < 3; ++channel)
            *out++ = static_cast<std::uint16_t>(a[channel] * wa + b[channel] * wb);
    }
}

// The source's rows, top-down, each scaled along x the first time it is asked for.  Scaled rows
// come out top-down too, so the two most recent source rows are all that is ever needed again.
class ScaledRows {
   public:
    ScaledRows(const DibPicture& source, int scaledWidth)
        : source_(source), taps_(TapsAlong(source.width, scaledWidth)) {
        for (auto& row : rows_) row.buffer.resize(std::size_t(3) * scaledWidth);
    }

    const std::uint16_t* Row(int top) {
        top = std::min(top, source_.height - 1);
        for (int i = 0; i < 2; ++i)
            if (rows_[i].index == top) {
                lastUsed_ = i;
                return rows_[i].buffer.data();
            }
        // The other slot than the row just handed out, which the caller may still be reading.
        lastUsed_ ^= 1;
        Cached& slot = rows_[lastUsed_];
        const std::uint8_t* sourceRow =
            source_.pixels.data() + std::size_t(source_.height - 1 - top) * source_.stride;
        ScaleRow(sourceRow, source_.width, taps_, slot.buffer.data());
        slot.index = top;
        return slot.buffer.data();
    }

   private:
    struct Cached {
        int index = -1;
        std::vector<std::uint16_t> buffer;
    };
    const DibPicture& source_;
    std::vector<Tap> taps_;
    Cached rows_[2];
    int lastUsed_ = 0;
};

void BlendRows(const std::uint16_t* upper, const std::uint16_t* lower, std::uint32_t lowerWeight,
               std::size_t count, std::uint8_t* out) {
    const std::uint32_t upperWeight = kWeightOne - lowerWeight;
    constexpr std::uint32_t kHalf = 1u << (2 * kWeightBits - 1);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>((upper[i] * upperWeight + lower[i] * lowerWeight + kHalf) >>
                                           (2 * kWeightBits));
}

}  // namespace

int SourceRowsForTop(int sourceHeight, int scaledHeight, int visibleRows) {
    if (sourceHeight <= 0 || scaledHeight <= 0 || visibleRows <= 0) return 0;
    const Tap last = TapAt(std::min(visibleRows, scaledHeight) - 1, sourceHeight, scaledHeight);
    return std::min(sourceHeight, last.first + 2);
}

DibPicture ScaleTopRows(const DibPicture& source, int sourceFullHeight, int scaledWidth, int scaledHeight,
                        int visibleRows) {
    DibPicture scaled;
    visibleRows = std::min(visibleRows, scaledHeight);
    if (source.bitsPerPixel != 24 || source.width <= 0 || source.height <= 0 || scaledWidth <= 0 ||
        visibleRows <= 0 || sourceFullHeight < source.height)
        return scaled;
    scaled.width = scaledWidth;
    scaled.height = visibleRows;
    scaled.bitsPerPixel = 24;
    scaled.stride = (std::size_t(scaledWidth) * 3 + 3) & ~std::size_t(3);
    scaled.pixels.resize(scaled.stride * visibleRows);

    ScaledRows rows(source, scaledWidth);
    for (int y = 0; y < visibleRows; ++y) {
        const Tap tap = TapAt(y, sourceFullHeight, scaledHeight);
        const std::uint16_t* upper = rows.Row(tap.first);
        const std::uint16_t* lower = tap.secondWeight ? rows.Row(tap.first + 1) : upper;
        std::uint8_t* out = scaled.pixels.data() + std::size_t(visibleRows - 1 - y) * scaled.stride;
        BlendRows(upper, lower, tap.secondWeight, std::size_t(3) * scaledWidth, out);
    }
    return scaled;
}

}  // namespace autorun
