#include "win32_process_start.h"

#include <windows.h>

#include <vector>

#include "win32_handle.h"

namespace autorun {

std::wstring QuotedCommandLine(const std::wstring& applicationName) {
    return L"\"" + applicationName + L"\"";
}

void StartDetachedProcess(const std::wstring& applicationName, const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line, so it gets a copy it owns.
    std::vector<wchar_t> mutableCommandLine(commandLine.begin(), commandLine.end());
    mutableCommandLine.push_back(L'\0');
    if (CreateProcessW(applicationName.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                       &process)) {
        const Win32Handle thread(process.hThread);
        const Win32Handle started(process.hProcess);
    }
}

}  // namespace autorun
