// Copies of the screen, and drawings of our own, as 24-bit pictures that can be saved as BMP files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace autorun {

// 24-bit pixels as a BMP file holds them: blue, green, red; bottom-up rows, each padded to four
// bytes.  Empty, with no size, when the capture or drawing that made it failed.
class Picture24 {
   public:
    Picture24(const Picture24&) = delete;
    Picture24& operator=(const Picture24&) = delete;
    Picture24(Picture24&&) = default;
    Picture24& operator=(Picture24&&) = default;

    // The whole screen, or the rectangle `area` of it, as it is shown now.
    static Picture24 CaptureScreen();
    static Picture24 CaptureScreen(const RECT& area);
    // Whatever `painter` draws into a DC of the given size; the painter returns false when it failed.
    static Picture24 Paint(int width, int height, const std::function<bool(HDC)>& painter);

    bool empty() const { return bits_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Blue, green, red of the pixel at (x, y), y counted from the top.
    const std::uint8_t* Pixel(int x, int y) const;

    // Written under a temporary name and renamed, so that nobody reads half a file.  An empty
    // picture writes nothing and returns false.
    bool SaveBmp(const std::wstring& path) const;

   private:
    Picture24() = default;
    Picture24(int width, int height, std::vector<std::uint8_t> bits);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bits_;
};

}  // namespace autorun
