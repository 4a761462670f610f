#pragma once

#include <windows.h>

#include <string>

namespace autorun {

// Command line handed to a started program: its own path, quoted, so that spaces in its folder
// don't split it into several arguments.
std::wstring QuotedCommandLine(const std::wstring& applicationName);

// Starts `applicationName` with `commandLine`, the caller's environment and current directory,
// and returns at once; whether the process could be created is deliberately not reported.  A program
// that needs elevation is started through the shell instead, without arguments, after the user's
// consent; the call returns once the user has answered the prompt.  `promptOwner`, the caller's
// foreground window, brings that prompt to the front instead of leaving it flashing on the taskbar.
void StartDetachedProcess(const std::wstring& applicationName, const std::wstring& commandLine,
                          HWND promptOwner);

}  // namespace autorun
