// What the end-to-end helper programs share: one clock, the key=value file format, measures of screen
// captures and the facts recorded about a window.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "win32_screen_capture.h"

namespace e2e {

// Milliseconds on the performance counter, which every process of one Wine session shares, so that
// times written by different helpers can be compared.
double ClockMs();

// When the calling process was created, on the ClockMs scale: excludes the program's own start-up.
double ProcessCreatedMs();

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// Lines of key=value in UTF-8; "\\", "\n" and "\r" are escaped in values.
class KeyValues {
   public:
    void Set(const std::string& key, const std::string& value) { values_[key] = value; }
    void Set(const std::string& key, const std::wstring& value) { values_[key] = Utf8(value); }
    void Set(const std::string& key, const char* value) { values_[key] = value; }
    void Set(const std::string& key, bool value) { values_[key] = value ? "1" : "0"; }
    void Set(const std::string& key, long long value) { values_[key] = std::to_string(value); }
    void Set(const std::string& key, int value) { Set(key, static_cast<long long>(value)); }
    void Set(const std::string& key, unsigned long value) { Set(key, static_cast<long long>(value)); }
    void SetMs(const std::string& key, double ms);

    std::wstring Get(const std::string& key, const std::wstring& fallback = L"") const;
    int GetInt(const std::string& key, int fallback) const;

    // Written to a temporary file and renamed, so that a reader never sees half a report.
    bool Save(const std::wstring& path) const;
    static KeyValues Load(const std::wstring& path);

   private:
    std::map<std::string, std::string> values_;
};

// Share of a grid of samples, one every `step` pixels, that are not black.
double NonBlackShare(const autorun::Picture24& picture, int step);
// How many different colours the same grid of samples shows: a picture, or a flat fill.
int DistinctColours(const autorun::Picture24& picture, int step);

// Whether the top `rows` rows are lit as a picture's are: all but 2% of them show a lit pixel among
// samples every `step` pixels across, the last two rows included.  What the end-to-end check asks too.
bool TopRowsLit(const autorun::Picture24& picture, int rows, int step);

// "left,top,right,bottom"
std::string RectText(const RECT& rect);

// Styles, rectangle and maximized state of `window`, as keys "<prefix>_...".
void RecordWindow(KeyValues& report, const std::string& prefix, HWND window);

// Handles this thread's messages until `ms` have passed or `done` says so.  Windows get painted and
// their pixels flushed to the screen only while their thread handles messages.
void PumpMessages(
    double ms, const std::function<bool()>& done = [] { return false; });

// The launcher's main window, wherever it is; nullptr when there is none.
HWND FindLauncherWindow();

std::wstring ClassName(HWND window);
std::wstring DirectoryOf(const std::wstring& path);

}  // namespace e2e
