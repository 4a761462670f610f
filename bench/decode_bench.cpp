// Times the decoding of a JPEG file alone, as the launcher decodes its splash picture (full scale,
// 32 bits per pixel), so that libjpeg builds can be compared without the rest of the start-up.
//
// Usage: decode_bench.exe [--count K] JPEG
// Prints key=value lines: the picture's size, the number of timed decodes and the minimum, median and
// maximum milliseconds of one decode, then the same of one scaling of the decoded picture to 1024 wide.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_reading.h"
#include "jpeg_decoder.h"
#include "picture_scaler.h"

namespace {

constexpr int kDefaultCount = 50;

struct Options {
    int count = kDefaultCount;
    std::string path;
};

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: decode_bench.exe [--count K] JPEG\n"
                 "Decodes JPEG K times (default %d, after one untimed decode) at full scale into 32 bits\n"
                 "per pixel and prints the milliseconds of one decode: ms_min, ms_median, ms_max.\n",
                 kDefaultCount);
}

// Exits with 0 after --help and with 2 on a bad argument.
Options ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            PrintUsage(stdout);
            std::exit(0);
        }
        if (argument == "--count" && i + 1 < argc) {
            char* end = nullptr;
            const long count = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || count < 1 || count > 100000) {
                std::fprintf(stderr, "decode_bench: --count wants a number from 1 to 100000, not '%s'\n",
                             argv[i]);
                std::exit(2);
            }
            options.count = static_cast<int>(count);
        } else if (options.path.empty() && argument.rfind("--", 0) != 0) {
            options.path = argument;
        } else {
            std::fprintf(stderr, "decode_bench: unexpected argument '%s' (see --help)\n", argument.c_str());
            std::exit(2);
        }
    }
    if (options.path.empty()) {
        std::fprintf(stderr, "decode_bench: no JPEG file given (see --help)\n");
        std::exit(2);
    }
    return options;
}

constexpr int kScaledWidth = 1024;

// key_min, key_median and key_max of the times, which it sorts.
void PrintSpread(const char* key, std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    std::printf("%s_min=%.3f\n%s_median=%.3f\n%s_max=%.3f\n", key, times.front(), key, median, key,
                times.back());
}

class Stopwatch {
   public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double ElapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

   private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArguments(argc, argv);
    const auto data = autorun::ReadWholeFile(options.path);
    if (!data) {
        std::fprintf(stderr, "decode_bench: %s: cannot read the file\n", options.path.c_str());
        return 1;
    }
    // The first decode also pays for page faults and cold caches, which the launcher's single decode
    // pays too but which would blur the comparison of the decoders themselves.
    const auto first = autorun::DecodeJpeg(data->data(), data->size(), autorun::DibColours::kTrueColour32);
    if (!first) {
        std::fprintf(stderr, "decode_bench: %s: %s\n", options.path.c_str(), first.error.c_str());
        return 1;
    }
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(options.count));
    for (int i = 0; i < options.count; ++i) {
        const Stopwatch watch;
        const auto picture =
            autorun::DecodeJpeg(data->data(), data->size(), autorun::DibColours::kTrueColour32);
        times.push_back(watch.ElapsedMs());
        if (!picture) {
            std::fprintf(stderr, "decode_bench: %s: %s\n", options.path.c_str(), picture.error.c_str());
            return 1;
        }
    }
    std::printf("picture=%dx%d\ndecodes=%d\n", first.value->width, first.value->height, options.count);
    PrintSpread("ms", times);
    // The launcher's next step on a 1024 x 768 screen: the decoded picture scaled once to the screen.
    times.clear();
    const int scaledHeight = first.value->height * kScaledWidth / first.value->width;
    for (int i = 0; i < options.count; ++i) {
        const Stopwatch watch;
        const auto scaled = autorun::ScaleTopRows(*first.value, first.value->height, kScaledWidth,
                                                  scaledHeight, scaledHeight);
        times.push_back(watch.ElapsedMs());
    }
    PrintSpread("scale_ms", times);
    return 0;
}
