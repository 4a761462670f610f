#include "splash_picture.h"

#include <cstdio>
#include <utility>

#include "jpeg_decoder.h"
#include "png_to_jpeg.h"

namespace authoring {
namespace {

// The JPEG marker codes the scan below looks for, each after a kMarker byte.
constexpr std::uint8_t kMarker = 0xff;
constexpr std::uint8_t kStartOfImage = 0xd8, kStartOfScan = 0xda, kDefineArithmeticConditioning = 0xcc;

struct FrameHeader {
    std::uint8_t marker = 0;
    int precision = 0;
    int components = 0;
};

bool IsStartOfFrame(std::uint8_t marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 &&
           marker != kDefineArithmeticConditioning;
}

bool IsArithmetic(std::uint8_t marker) {
    return marker >= 0xc9;
}

// Walks the marker segments up to the first scan, which libjpeg's error for these cases would only
// name in its own words.
FrameHeader ReadFrameHeader(const Bytes& jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != kMarker || jpeg[1] != kStartOfImage)
        throw PictureError("not a JPEG file");
    std::size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != kMarker)
            throw PictureError("damaged JPEG: a marker is missing; save the picture again");
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == kMarker) {
            ++at;
            continue;
        }
        if (marker == kStartOfScan) break;
        const std::size_t length = autorun::LoadBigU16(&jpeg[at + 2]);
        if (IsStartOfFrame(marker) && at + 9 < jpeg.size()) return {marker, jpeg[at + 4], jpeg[at + 9]};
        at += 2 + length;
    }
    throw PictureError("damaged JPEG: no frame header; save the picture again");
}

void RefuseWhatTheLauncherCannotShow(const FrameHeader& frame) {
    if (IsArithmetic(frame.marker))
        throw PictureError(
            "the JPEG uses arithmetic coding, which the launcher can't decode; "
            "save it as a baseline JPEG");
    if (frame.precision != 8)
        throw PictureError(
            "the JPEG has " + std::to_string(frame.precision) +
            "-bit samples; the launcher shows 8-bit JPEGs only: save it with 8 bits per channel");
    if (frame.components == 4)
        throw PictureError("the JPEG is CMYK; the launcher shows RGB and greyscale only: convert it to RGB");
}

void CheckSize(int width, int height) {
    if (width > kMaxSplashWidth)
        throw PictureError("the picture is " + std::to_string(width) +
                           " pixels wide; the launcher takes at most " + std::to_string(kMaxSplashWidth) +
                           ": scale it down");
    if (width < kMinSplashSide || height < kMinSplashSide)
        throw PictureError("the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels; it needs at least " + std::to_string(kMinSplashSide) + " each way");
}

bool IsPng(const Bytes& file) {
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return file.size() >= sizeof signature &&
           std::equal(std::begin(signature), std::end(signature), file.begin());
}

std::string Percent(double share) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", share * 100);
    return text;
}

}  // namespace

SplashPicture CheckSplashJpeg(Bytes jpeg) {
    RefuseWhatTheLauncherCannotShow(ReadFrameHeader(jpeg));
    const auto decoded = autorun::DecodeJpeg(jpeg.data(), jpeg.size(), autorun::DibColours::kTrueColour);
    if (!decoded) throw PictureError("damaged JPEG (" + decoded.error + "); save the picture again");
    CheckSize(decoded.value->width, decoded.value->height);
    SplashPicture picture;
    picture.width = decoded.value->width;
    picture.height = decoded.value->height;
    picture.jpeg = std::move(jpeg);
    return picture;
}

SplashPicture PrepareSplash(const Bytes& file) {
    if (IsPng(file)) return CheckSplashJpeg(ConvertPngToJpeg(file));
    if (file.size() >= 2 && file[0] == kMarker && file[1] == kStartOfImage) return CheckSplashJpeg(file);
    throw PictureError("not a JPEG or PNG picture");
}

std::vector<ScreenFit> DescribeVisibleHeight(int width, int height) {
    struct Screen {
        const char* name;
        int across, down;
    };
    static const Screen screens[] = {{"4:3", 4, 3}, {"16:10", 16, 10}, {"16:9", 16, 9}};
    std::vector<ScreenFit> fits;
    for (const Screen& screen : screens) {
        // Scaled to a screen W wide the picture is W * height / width tall; the screen is W * down / across.
        const double share = std::min(1.0, double(width) * screen.down / (double(height) * screen.across));
        const int rows = int(height * share + 0.5);
        fits.push_back({std::string(screen.name) + " screens show " + Percent(share) + " of its height" +
                            (share < 1.0 ? " (the bottom " + std::to_string(height - rows) + " of " +
                                               std::to_string(height) + " rows are cut)"
                                         : ""),
                        share < 1.0});
    }
    return fits;
}

}  // namespace authoring
