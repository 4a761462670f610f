#include "startup_phases.h"

#ifdef AUTORUN_PHASE_TIMES

#include <cstdio>
#include <cstdlib>

namespace autorun {
namespace {

constexpr int kMaxPhases = 16;

struct Phase {
    const char* name;
    double endMs;  // since the process's creation
};

// A fixed array: the marks must cost nothing measurable, and no allocation may fail between them.
Phase phases[kMaxPhases];
int phaseCount = 0;

}  // namespace

void MarkPhase(const char* name) {
    if (phaseCount < kMaxPhases) phases[phaseCount++] = {name, MsSinceProcessCreation()};
}

void WritePhases() {
    const char* path = std::getenv("AUTORUN_PHASE_LOG");
    if (!path || !*path) return;
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
