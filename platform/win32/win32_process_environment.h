// What a process finds around it at its start, besides its command line: its current directory and
// its environment.
#pragma once

#include <string>

namespace autorun {

// The current directory; empty when it can't be read.
std::wstring CurrentDirectory();

// The value of the environment variable `name`; empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name);

}  // namespace autorun
