#pragma once

#include <string>

namespace autorun {

// Starts `executablePath` with itself as its only argument, the caller's environment and current
// directory, in a session of its own, and returns at once; whether it could be started is
// deliberately not reported.  The caller never waits for it: the kernel reaps it, so it can't
// linger as a zombie while the caller runs, and it outlives the caller.
void StartDetachedProcess(const std::string& executablePath);

}  // namespace autorun
