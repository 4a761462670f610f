#include "win32_process_start.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <vector>

#include "win32_dll_search.h"
#include "win32_handle.h"
#include "win32_process_environment.h"
#include "win32_system_library.h"

namespace autorun {
namespace {

// ERROR_ELEVATION_REQUIRED, which the XP headers that the launcher compiles against lack.
constexpr DWORD kElevationRequired = 740;

using ShellExecuteExWFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// ERROR_SUCCESS, or why CreateProcessW failed.
DWORD CreateDetachedProcess(const std::wstring& applicationName, const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line, so it gets a copy it owns.
    std::vector<wchar_t> mutableCommandLine(commandLine.begin(), commandLine.end());
    mutableCommandLine.push_back(L'\0');
    const DefaultDllSearchForChildren childSearch;
    if (!CreateProcessW(applicationName.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &process)) {
        return GetLastError();
    }
    const Win32Handle thread(process.hThread);
    const Win32Handle started(process.hProcess);
    return ERROR_SUCCESS;
}

// Only the shell shows the consent prompt that starts a program asking for administrator rights.
// shell32 is loaded for this call alone, so that every other game's start pays nothing for it.  The
// launcher's own DLL search stays restricted meanwhile: the elevated program is created by a system
// service, which passes no DLL directory on.
void StartThroughShell(const std::wstring& applicationName, HWND promptOwner) {
    const SystemLibrary shell32(L"shell32.dll");
    const auto shellExecute = shell32.Find<ShellExecuteExWFunction>("ShellExecuteExW");
    if (!shellExecute) return;
    // Without a directory an elevated program starts in System32, not where CreateProcessW puts it.
    const std::wstring directory = CurrentDirectory();
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    // Done before shell32 is freed; a declined prompt or a missing file shows nothing, like any
    // other start that fails.
    execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.hwnd = promptOwner;
    execute.lpFile = applicationName.c_str();
    execute.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    execute.nShow = SW_SHOWNORMAL;
    shellExecute(&execute);
}

}  // namespace

std::wstring QuotedCommandLine(const std::wstring& applicationName) {
    return L"\"" + applicationName + L"\"";
}

void StartDetachedProcess(const std::wstring& applicationName, const std::wstring& commandLine,
                          HWND promptOwner) {
    // Windows refuses CreateProcessW for a program whose manifest asks for administrator rights, and
    // for one it takes for an installer by its name; every other program starts as it always did.
    if (CreateDetachedProcess(applicationName, commandLine) == kElevationRequired)
        StartThroughShell(applicationName, promptOwner);
}

}  // namespace autorun
