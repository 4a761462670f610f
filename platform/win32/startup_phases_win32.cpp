#include "startup_phases.h"

#ifdef AUTORUN_PHASE_TIMES

#include <windows.h>

#include <cstdio>

namespace autorun {
namespace {

constexpr int kMaxPhases = 16;

struct Phase {
    const char* name;
    double endMs;  // since the process's creation
};

Phase phases[kMaxPhases];
int phaseCount = 0;

double FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

// Milliseconds since the process was created: the system clock, the only one the creation time is
// given in, for the first mark, and the performance counter from there on.
double SinceCreationMs() {
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

}  // namespace

void MarkPhase(const char* name) {
    if (phaseCount < kMaxPhases) phases[phaseCount++] = {name, SinceCreationMs()};
}

void WritePhases() {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("AUTORUN_PHASE_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    std::FILE* file = std::fopen(path, "a");
    if (!file) return;
    double start = 0;
    for (int i = 0; i < phaseCount; ++i) {
        std::fprintf(file, "%s=%.3f\n", phases[i].name, phases[i].endMs - start);
        start = phases[i].endMs;
    }
    std::fclose(file);
    phaseCount = 0;
}

}  // namespace autorun

#endif
