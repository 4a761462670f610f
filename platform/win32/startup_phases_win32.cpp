#include "startup_phases.h"

#ifdef AUTORUN_PHASE_TIMES

#include <windows.h>

namespace autorun {
namespace {

double FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

}  // namespace

// The system clock, the only one the creation time is given in, for the first mark, and the
// performance counter from there on.
double MsSinceProcessCreation() {
    static double firstMark = -1, firstCounter = 0;
    static LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    if (firstMark < 0) {
        FILETIME creation, exit, kernel, user, now;
        GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
        GetSystemTimeAsFileTime(&now);
        QueryPerformanceFrequency(&frequency);
        firstMark = FileTimeMs(now) - FileTimeMs(creation);
        firstCounter = static_cast<double>(counter.QuadPart);
        return firstMark;
    }
    return firstMark + (static_cast<double>(counter.QuadPart) - firstCounter) * 1000.0 / frequency.QuadPart;
}

}  // namespace autorun

#endif
