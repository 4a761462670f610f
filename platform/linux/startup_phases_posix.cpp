#include "startup_phases.h"

#ifdef AUTORUN_PHASE_TIMES

#include <time.h>
#include <unistd.h>

#include <cstdio>

namespace autorun {
namespace {

double ClockMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The process's start in milliseconds since boot: field 22 of /proc/self/stat, in clock ticks.  The
// command name in field 2 may hold spaces and parentheses, so the fields are counted from its last ')'.
double StartSinceBootMs() {
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat) return 0;
    char text[1024] = {};
    const std::size_t length = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    const char* field = nullptr;
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] == ')') field = text + i + 1;
    unsigned long long ticks = 0;
    if (!field ||
        std::sscanf(field,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                    &ticks) != 1)
        return 0;
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

// Boot time, the clock the start is given in, for the first mark; the monotonic clock from there on.
double MsSinceProcessCreation() {
    static double firstMark = -1, firstClock = 0;
    const double now = ClockMs(CLOCK_MONOTONIC);
    if (firstMark < 0) {
        firstMark = ClockMs(CLOCK_BOOTTIME) - StartSinceBootMs();
        firstClock = now;
    }
    return firstMark + (now - firstClock);
}

}  // namespace autorun

#endif
