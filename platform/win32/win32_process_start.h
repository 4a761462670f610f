#pragma once

#include <string>

namespace autorun {

// Starts `applicationName` with `commandLine`, the caller's environment and current directory,
// and returns at once; whether the process could be created is deliberately not reported.
void StartDetachedProcess(const std::wstring& applicationName, const std::wstring& commandLine);

}  // namespace autorun
