#include "e2e_support.h"

#include <cstdio>
#include <set>
#include <sstream>

#include "win32_handle.h"

namespace e2e {

namespace {

// Releases a DC obtained with GetDC.
class WindowDc {
   public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

   private:
    HWND window_;
    HDC dc_;
};

class MemoryDc {
   public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

   private:
    HDC dc_;
};

// A DIB section selected into a memory DC for as long as this object lives.
class SelectedDib {
   public:
    SelectedDib(HDC dc, const BITMAPINFO& info, void** bits)
        : dc_(dc),
          bitmap_(CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0)),
          previous_(bitmap_ ? SelectObject(dc, bitmap_) : nullptr) {}
    ~SelectedDib() {
        if (previous_) SelectObject(dc_, previous_);
        if (bitmap_) DeleteObject(bitmap_);
    }
    SelectedDib(const SelectedDib&) = delete;
    SelectedDib& operator=(const SelectedDib&) = delete;
    bool valid() const { return previous_ != nullptr; }

   private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

BITMAPINFO BottomUp24(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::string Escape(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

double FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

bool IsNonBlack(const std::uint8_t* bgr) {
    // A little above zero: dithering and filtering leave near-black pixels in black areas.
    constexpr std::uint8_t kThreshold = 24;
    return bgr[0] > kThreshold || bgr[1] > kThreshold || bgr[2] > kThreshold;
}

}  // namespace

double ClockMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double ProcessCreatedMs() {
    FILETIME created, exited, kernel, user, now;
    const double clock = ClockMs();
    GetSystemTimeAsFileTime(&now);
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return clock;
    return clock - (FileTimeMs(now) - FileTimeMs(created));
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr,
                        nullptr);
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], size);
    return out;
}

void KeyValues::SetMs(const std::string& key, double ms) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", ms);
    values_[key] = text;
}

std::wstring KeyValues::Get(const std::string& key, const std::wstring& fallback) const {
    const auto found = values_.find(key);
    return found == values_.end() ? fallback : Wide(found->second);
}

int KeyValues::GetInt(const std::string& key, int fallback) const {
    const auto found = values_.find(key);
    if (found == values_.end()) return fallback;
    try {
        return std::stoi(found->second);
    } catch (const std::exception&) {
        return fallback;
    }
}

bool KeyValues::Save(const std::wstring& path) const {
    std::ostringstream text;
    for (const auto& [key, value] : values_) text << key << '=' << Escape(value) << '\n';
    const std::string content = text.str();

    const std::wstring temporary = path + L".part";
    {
        const autorun::Win32Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file.valid() ||
            !WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
            written != content.size()) {
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

KeyValues KeyValues::Load(const std::wstring& path) {
    KeyValues result;
    const autorun::Win32Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return result;
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);

    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            result.values_[line.substr(0, equals)] = Unescape(line.substr(equals + 1));
    }
    return result;
}

Picture24::Picture24(int width, int height)
    : width_(width), height_(height), bits_(static_cast<size_t>(Stride()) * static_cast<size_t>(height)) {}

Picture24 Picture24::CaptureScreen() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CaptureScreen(screen);
}

Picture24 Picture24::CaptureScreen(const RECT& area) {
    const WindowDc screen(nullptr);
    return Paint(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
        BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen.get(), area.left, area.top,
               SRCCOPY);
    });
}

Picture24 Picture24::Paint(int width, int height, const std::function<void(HDC)>& painter) {
    Picture24 picture(width, height);
    const WindowDc screen(nullptr);
    const MemoryDc memory(screen.get());
    const BITMAPINFO info = BottomUp24(width, height);
    void* bits = nullptr;
    const SelectedDib dib(memory.get(), info, &bits);
    if (!dib.valid()) return picture;
    painter(memory.get());
    GdiFlush();
    const auto* source = static_cast<const std::uint8_t*>(bits);
    picture.bits_.assign(source, source + picture.bits_.size());
    return picture;
}

const std::uint8_t* Picture24::Pixel(int x, int y) const {
    return &bits_[static_cast<size_t>(height_ - 1 - y) * Stride() + static_cast<size_t>(x) * 3];
}

double Picture24::NonBlackShare(int step) const {
    long long total = 0, lit = 0;
    for (int y = step / 2; y < height_; y += step) {
        for (int x = step / 2; x < width_; x += step) {
            ++total;
            if (IsNonBlack(Pixel(x, y))) ++lit;
        }
    }
    return total ? static_cast<double>(lit) / static_cast<double>(total) : 0.0;
}

int Picture24::DistinctColours(int step) const {
    std::set<std::uint32_t> colours;
    for (int y = step / 2; y < height_; y += step) {
        for (int x = step / 2; x < width_; x += step) {
            const std::uint8_t* bgr = Pixel(x, y);
            colours.insert(static_cast<std::uint32_t>(bgr[0]) | static_cast<std::uint32_t>(bgr[1]) << 8 |
                           static_cast<std::uint32_t>(bgr[2]) << 16);
        }
    }
    return static_cast<int>(colours.size());
}

bool Picture24::SaveBmp(const std::wstring& path) const {
    BITMAPFILEHEADER header{};
    const BITMAPINFO info = BottomUp24(width_, height_);
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(bits_.size());

    const std::wstring temporary = path + L".part";
    {
        const autorun::Win32Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        const bool ok =
            file.valid() && WriteFile(file.get(), &header, sizeof header, &written, nullptr) &&
            WriteFile(file.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
            WriteFile(file.get(), bits_.data(), static_cast<DWORD>(bits_.size()), &written, nullptr) &&
            written == bits_.size();
        if (!ok) {
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

std::string RectText(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

void RecordWindow(KeyValues& report, const std::string& prefix, HWND window) {
    report.Set(prefix + "_found", window != nullptr);
    if (!window) return;
    RECT rect{};
    GetWindowRect(window, &rect);

    report.Set(prefix + "_style",
               static_cast<long long>(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE))));
    report.Set(prefix + "_exstyle",
               static_cast<long long>(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE))));
    report.Set(prefix + "_rect", RectText(rect));
    report.Set(prefix + "_zoomed", IsZoomed(window) != FALSE);
    report.Set(prefix + "_visible", IsWindowVisible(window) != FALSE);
}

void PumpMessages(double ms, const std::function<bool()>& done) {
    const double end = ClockMs() + ms;
    while (!done() && ClockMs() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND FindLauncherWindow() {
    return FindWindowW(L"TForm1", nullptr);
}

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring DirectoryOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

}  // namespace e2e
