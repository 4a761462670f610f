#include "picture_scaler.h"

#include <algorithm>
#include <new>

namespace autorun {
namespace {

constexpr int kWeightBits = 8;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;
// Two of a pixel's four bytes, each in a 16-bit lane, so that one multiplication weighs both.
constexpr std::uint32_t kEvenBytes = 0x00FF00FFu;
constexpr std::uint32_t kHalfInEachLane = 0x00800080u;

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

}  // namespace

// A scaled pixel's two nearest source pixels along one axis and the weight of the second, in
// 1/256ths.  Fixed point (16.16): the emulated 32-bit launcher would pay dearly for floats.
PictureScaler::Tap PictureScaler::TapAt(int scaled, int sourceLength, int scaledLength) {
    // Source position of the scaled pixel's centre, less half a pixel: (scaled + 0.5) * ratio - 0.5.
    const std::int64_t ratio = (std::int64_t(sourceLength) << 16) / scaledLength;
    const std::int64_t position = (2 * std::int64_t(scaled) + 1) * ratio / 2 - (1 << 15);
    if (position <= 0) return {0, 0};
    const int first = static_cast<int>(position >> 16);
    if (first >= sourceLength - 1) return {sourceLength - 1, 0};
    return {first, static_cast<std::uint32_t>(position >> (16 - kWeightBits)) & (kWeightOne - 1)};
}

int SourceRowsForTop(int sourceHeight, int scaledHeight, int visibleRows) {
    if (sourceHeight <= 0 || scaledHeight <= 0 || visibleRows <= 0) return 0;
    const auto last =
        PictureScaler::TapAt(std::min(visibleRows, scaledHeight) - 1, sourceHeight, scaledHeight);
    return std::min(sourceHeight, last.first + 2);
}

PictureScaler::PictureScaler(PictureSize source, int scaledWidth, int scaledHeight, int visibleRows)
    : valid_(source.width > 0 && source.height > 0 && scaledWidth > 0 && scaledHeight > 0 && visibleRows > 0),
      source_(source),
      scaledHeight_(scaledHeight) {
    if (!valid_) return;
    // Checked before anything is sized: the product would wrap around in a 32-bit process.
    if (scaledWidth > kMaxScaledWidth ||
        std::size_t(scaledWidth) * 4 * std::size_t(std::min(visibleRows, scaledHeight)) > kMaxScaledBytes)
        throw std::bad_alloc();
    scaled_.width = scaledWidth;
    scaled_.height = std::min(visibleRows, scaledHeight);
    scaled_.bitsPerPixel = 32;
    scaled_.stride = std::size_t(scaledWidth) * 4;
    scaled_.pixels.resize(scaled_.stride * std::size_t(scaled_.height));
    taps_.resize(std::size_t(scaledWidth));
    for (int x = 0; x < scaledWidth; ++x) taps_[std::size_t(x)] = TapAt(x, source.width, scaledWidth);
    for (auto& row : rows_) row.resize(std::size_t(scaledWidth));
}

void PictureScaler::ScaleAlongX(const std::uint32_t* source, std::uint32_t* out) const {
    const int last = source_.width - 1;
    for (const Tap& tap : taps_)
        *out++ = Blend(source[tap.first], source[std::min(tap.first + 1, last)], tap.secondWeight);
}

void PictureScaler::TakeRow(const std::uint8_t* pixels, int width) {
    if (width != source_.width) valid_ = false;
    if (!valid_ || sourceRows_ >= source_.height) return;
    latest_ ^= 1;
    ScaleAlongX(reinterpret_cast<const std::uint32_t*>(pixels), rows_[latest_].data());
    ++sourceRows_;
    MakeReadyRows();
}

// Every scaled row whose two source rows are in: they are always the latest two, or the latest alone,
// since rows are made as soon as they can be.
void PictureScaler::MakeReadyRows() {
    const int latestRow = sourceRows_ - 1;
    while (nextScaledRow_ < scaled_.height) {
        const Tap tap = TapAt(nextScaledRow_, source_.height, scaledHeight_);
        const int lastNeeded = tap.secondWeight ? tap.first + 1 : tap.first;
        if (lastNeeded > latestRow) return;
        const std::uint32_t* upper = rows_[tap.first == latestRow ? latest_ : latest_ ^ 1].data();
        const std::uint32_t* lower = rows_[latest_].data();
        auto* out = reinterpret_cast<std::uint32_t*>(
            scaled_.pixels.data() + std::size_t(scaled_.height - 1 - nextScaledRow_) * scaled_.stride);
        if (tap.secondWeight == 0)
            std::copy_n(upper, scaled_.width, out);
        else
            for (int x = 0; x < scaled_.width; ++x) out[x] = Blend(upper[x], lower[x], tap.secondWeight);
        ++nextScaledRow_;
    }
}

DibPicture PictureScaler::TakePicture() {
    if (!Finished()) return {};
    return std::move(scaled_);
}

DibPicture ScaleTopRows(const DibPicture& source, int sourceFullHeight, int scaledWidth, int scaledHeight,
                        int visibleRows) {
    if (source.bitsPerPixel != 32 || source.stride != std::size_t(source.width) * 4 || source.height <= 0 ||
        source.pixels.size() < source.stride * std::size_t(source.height) || sourceFullHeight < source.height)
        return {};
    PictureScaler scaler({source.width, sourceFullHeight}, scaledWidth, scaledHeight, visibleRows);
    for (int top = 0; top < source.height && scaler.Valid() && !scaler.Finished(); ++top)
        scaler.TakeRow(source.pixels.data() + std::size_t(source.height - 1 - top) * source.stride,
                       source.width);
    return scaler.TakePicture();
}

}  // namespace autorun
