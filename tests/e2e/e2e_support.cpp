#include "e2e_support.h"

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <set>
#include <sstream>

#include "win32_file_replacement.h"
#include "win32_handle.h"

namespace e2e {

namespace {

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

// Calls `sample` with the blue, green, red of one pixel every `step` pixels across and down.
template <typename Sample>
void ForEachSample(const autorun::Picture24& picture, int step, Sample sample) {
    for (int y = step / 2; y < picture.Height(); y += step) {
        for (int x = step / 2; x < picture.Width(); x += step) sample(picture.Pixel(x, y));
    }
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
    return autorun::ReplaceFileContents(path, {{content.data(), content.size()}});
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

double NonBlackShare(const autorun::Picture24& picture, int step) {
    long long total = 0, lit = 0;
    ForEachSample(picture, step, [&](const std::uint8_t* bgr) {
        ++total;
        if (IsNonBlack(bgr)) ++lit;
    });
    return total ? static_cast<double>(lit) / static_cast<double>(total) : 0.0;
}

int DistinctColours(const autorun::Picture24& picture, int step) {
    std::set<std::uint32_t> colours;
    ForEachSample(picture, step, [&](const std::uint8_t* bgr) {
        colours.insert(static_cast<std::uint32_t>(bgr[0]) | static_cast<std::uint32_t>(bgr[1]) << 8 |
                       static_cast<std::uint32_t>(bgr[2]) << 16);
    });
    return static_cast<int>(colours.size());
}

bool TopRowsLit(const autorun::Picture24& picture, int rows, int step) {
    rows = std::min(rows, picture.Height());
    int lit = 0, lowest = -1;
    for (int y = 0; y < rows; ++y) {
        for (int x = step / 2; x < picture.Width(); x += step) {
            if (!IsNonBlack(picture.Pixel(x, y))) continue;
            ++lit;
            lowest = y;
            break;
        }
    }
    return rows > 0 && lit >= 0.98 * rows && lowest >= rows - 2;
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

}  // namespace e2e
