#include "picture_resample.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace authoring {
namespace {

struct Overlap {
    int source;
    std::uint32_t weight;  // in 1/`to` parts of a source pixel: a new pixel's weights add up to `from`
};

// Which source pixels each of `to` new pixels covers along one axis, and by how much.  With both
// axes measured in units of 1/(from * to), pixel i covers [i * from, (i + 1) * from) and source
// pixel j covers [j * to, (j + 1) * to).
std::vector<std::vector<Overlap>> Coverage(int from, int to) {
    std::vector<std::vector<Overlap>> cells{static_cast<std::size_t>(to)};
    const std::uint64_t sourceSpan = std::uint64_t(to);
    for (int i = 0; i < to; ++i) {
        const std::uint64_t begin = std::uint64_t(i) * std::uint64_t(from);
        const std::uint64_t end = begin + std::uint64_t(from);
        for (std::uint64_t j = begin / sourceSpan; j * sourceSpan < end; ++j) {
            const std::uint64_t low = std::max(begin, j * sourceSpan);
            const std::uint64_t high = std::min(end, (j + 1) * sourceSpan);
            cells[std::size_t(i)].push_back({int(j), std::uint32_t(high - low)});
        }
    }
    return cells;
}

// Red, green and blue premultiplied by alpha, and alpha, each summed with weights.
struct Sums {
    std::uint64_t channel[4] = {};
};

std::uint8_t RoundedQuotient(std::uint64_t numerator, std::uint64_t denominator) {
    return std::uint8_t((numerator + denominator / 2) / denominator);
}

// Every source row shrunk (or grown) along x only.
std::vector<Sums> ResampleRows(const RgbaPicture& source, int width) {
    const auto columns = Coverage(source.width, width);
    std::vector<Sums> rows(std::size_t(source.height) * std::size_t(width));
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x) {
            Sums& sums = rows[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            for (const Overlap& overlap : columns[std::size_t(x)]) {
                const std::uint8_t* pixel = &source.pixels[source.Offset(overlap.source, y)];
                const std::uint64_t alpha = pixel[3];
                for (int c = 0; c < 3; ++c) sums.channel[c] += overlap.weight * pixel[c] * alpha;
                sums.channel[3] += overlap.weight * alpha;
            }
        }
    return rows;
}

}  // namespace

RgbaPicture ResampleArea(const RgbaPicture& source, int width, int height) {
    const std::vector<Sums> rows = ResampleRows(source, width);
    const auto lines = Coverage(source.height, height);
    const std::uint64_t area = std::uint64_t(source.width) * std::uint64_t(source.height);
    RgbaPicture result{width, height, Bytes(std::size_t(width) * std::size_t(height) * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Sums sums;
            for (const Overlap& overlap : lines[std::size_t(y)]) {
                const Sums& row = rows[std::size_t(overlap.source) * std::size_t(width) + std::size_t(x)];
                for (int c = 0; c < 4; ++c) sums.channel[c] += overlap.weight * row.channel[c];
            }
            std::uint8_t* pixel = &result.pixels[result.Offset(x, y)];
            const std::uint64_t alpha = sums.channel[3];
            pixel[3] = RoundedQuotient(alpha, area);
            if (alpha == 0) continue;  // fully transparent: black, as the rest of the margin
            for (int c = 0; c < 3; ++c) pixel[c] = RoundedQuotient(sums.channel[c], alpha);
        }
    return result;
}

RgbaPicture FitIntoSquare(const RgbaPicture& source, int side) {
    const int longer = std::max(source.width, source.height);
    const auto fitted = [&](int length) {
        return std::max(1, int((std::int64_t(length) * side + longer / 2) / longer));
    };
    const int width = fitted(source.width);
    const int height = fitted(source.height);
    const RgbaPicture scaled = ResampleArea(source, width, height);
    RgbaPicture square{side, side, Bytes(std::size_t(side) * std::size_t(side) * 4)};
    const int left = (side - width) / 2;
    const int top = (side - height) / 2;
    for (int y = 0; y < height; ++y)
        std::copy_n(&scaled.pixels[scaled.Offset(0, y)], std::size_t(width) * 4,
                    &square.pixels[square.Offset(left, top + y)]);
    return square;
}

}  // namespace authoring
