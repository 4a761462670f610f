#include "picture_scaler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace autorun {
namespace {

constexpr int kWeightBits = 8;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;
// Two of a pixel's four bytes, each in a 16-bit lane, so that one multiplication weighs both.
constexpr std::uint32_t kEvenBytes = 0x00FF00FFu;
constexpr std::uint32_t kHalfInEachLane = 0x00800080u;

// A scaled pixel's two nearest source pixels along one axis and the weight of the second, in
// 1/256ths.  Fixed point (16.16): the emulated 32-bit launcher would pay dearly for floats.
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

// Weighs two pixels of four bytes each, all four bytes at once: two lanes of 16 bits hold the even
// bytes, two more the odd ones, and no lane overflows since the weights add up to 256.
inline std::uint32_t Blend(std::uint32_t a, std::uint32_t b, std::uint32_t weightB) {
    const std::uint32_t weightA = kWeightOne - weightB;
    const std::uint32_t even =
        ((a & kEvenBytes) * weightA + (b & kEvenBytes) * weightB + kHalfInEachLane) >> 8;
    const std::uint32_t odd =
        ((a >> 8) & kEvenBytes) * weightA + ((b >> 8) & kEvenBytes) * weightB + kHalfInEachLane;
    return (even & kEvenBytes) | (odd & ~kEvenBytes);
}

// The source's rows, top-down, each scaled along x the first time it is asked for.  Scaled rows
// come out top-down too, so the two most recent source rows are all that is ever needed again.
class ScaledRows {
   public:
    ScaledRows(const DibPicture& source, int scaledWidth) : source_(source), taps_(scaledWidth) {
        for (int x = 0; x < scaledWidth; ++x) taps_[x] = TapAt(x, source.width, scaledWidth);
        for (auto& row : rows_) row.pixels.resize(scaledWidth);
    }

    const std::uint32_t* Row(int top) {
        top = std::min(top, source_.height - 1);
        for (int i = 0; i < 2; ++i)
            if (rows_[i].index == top) {
                lastUsed_ = i;
                return rows_[i].pixels.data();
            }
        // The other slot than the row just handed out, which the caller may still be reading.
        lastUsed_ ^= 1;
        Cached& slot = rows_[lastUsed_];
        ScaleRow(top, slot.pixels.data());
        slot.index = top;
        return slot.pixels.data();
    }

   private:
    struct Cached {
        int index = -1;
        std::vector<std::uint32_t> pixels;
    };

    void ScaleRow(int top, std::uint32_t* out) const {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            source_.pixels.data() + std::size_t(source_.height - 1 - top) * source_.stride);
        const int last = source_.width - 1;
        for (const Tap& tap : taps_)
            *out++ = Blend(row[tap.first], row[std::min(tap.first + 1, last)], tap.secondWeight);
    }

    const DibPicture& source_;
    std::vector<Tap> taps_;
    Cached rows_[2];
    int lastUsed_ = 0;
};

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
    if (source.bitsPerPixel != 32 || source.stride != std::size_t(source.width) * 4 || source.width <= 0 ||
        source.height <= 0 || source.pixels.size() < source.stride * source.height || scaledWidth <= 0 ||
        visibleRows <= 0 || sourceFullHeight < source.height)
        return scaled;
    scaled.width = scaledWidth;
    scaled.height = visibleRows;
    scaled.bitsPerPixel = 32;
    scaled.stride = std::size_t(scaledWidth) * 4;
    scaled.pixels.resize(scaled.stride * visibleRows);

    ScaledRows rows(source, scaledWidth);
    for (int y = 0; y < visibleRows; ++y) {
        const Tap tap = TapAt(y, sourceFullHeight, scaledHeight);
        const std::uint32_t* upper = rows.Row(tap.first);
        auto* out = reinterpret_cast<std::uint32_t*>(scaled.pixels.data() +
                                                     std::size_t(visibleRows - 1 - y) * scaled.stride);
        if (tap.secondWeight == 0) {
            std::copy_n(upper, scaledWidth, out);
            continue;
        }
        const std::uint32_t* lower = rows.Row(tap.first + 1);
        for (int x = 0; x < scaledWidth; ++x) out[x] = Blend(upper[x], lower[x], tap.secondWeight);
    }
    return scaled;
}

}  // namespace autorun
