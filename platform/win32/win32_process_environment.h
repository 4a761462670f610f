// What a process finds around it at its start, besides its command line: its current directory and
// its environment.
#pragma once

#include <string>

namespace autorun {

// The current directory; empty when it can't be read.
std::wstring CurrentDirectory();

// The system folder, System32 (SysWOW64's view of it for a 32-bit program on 64-bit Windows);
// empty when it can't be read.
std::wstring SystemDirectory();

// The value of the environment variable `name`; empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name);

}  // namespace autorun
