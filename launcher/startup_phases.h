// Where the launcher's start-up time goes, for the benchmark build (AUTORUN_PHASE_TIMES on): each
// mark ends a phase; the shipped build compiles the marks to nothing.
#pragma once

namespace autorun {

#ifdef AUTORUN_PHASE_TIMES
// Ends the phase of that name now; the first phase starts at the process's creation.
void MarkPhase(const char* name);
// Appends the phases to the file that the environment variable AUTORUN_PHASE_LOG names, if any.
void WritePhases();
// Milliseconds since the operating system created this process; each platform knows its own clock.
double MsSinceProcessCreation();
#else
inline void MarkPhase(const char*) {}
inline void WritePhases() {}
#endif

}  // namespace autorun
