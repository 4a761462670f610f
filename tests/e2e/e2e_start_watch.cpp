#include "e2e_start_watch.h"

#include <shellapi.h>

#include <string>

#include "e2e_import_patch.h"
#include "win32_process_environment.h"

namespace e2e {
namespace {

constexpr DWORD kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED

using CreateProcessWFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                                             BOOL, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                                             LPPROCESS_INFORMATION);
using GetProcAddressFunction = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using ShellExecuteExWFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

struct Watch {
    KeyValues* report = nullptr;
    std::function<void()> save;
    std::wstring injection;
    int createProcessCalls = 0;
    int shellExecuteLookups = 0;
    int shellExecuteCalls = 0;
    CreateProcessWFunction createProcess = nullptr;
    GetProcAddressFunction getProcAddress = nullptr;
    ShellExecuteExWFunction shellExecute = nullptr;
};

Watch watch;

template <typename Function>
Function As(void* pointer) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(pointer));
}

template <typename Function>
void* Untyped(Function function) {
    return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(function));
}

std::wstring OrEmpty(const wchar_t* text) {
    return text ? text : L"";
}

BOOL WINAPI WatchedCreateProcess(LPCWSTR program, LPWSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                 LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags, LPVOID environment,
                                 LPCWSTR directory, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION created) {
    watch.report->Set("create_process_calls", ++watch.createProcessCalls);
    watch.report->Set("create_process_program", OrEmpty(program));
    BOOL result = FALSE;
    DWORD error = kElevationRequired;
    if (watch.injection.empty()) {
        result = watch.createProcess(program, commandLine, process, thread, inherit, flags, environment,
                                     directory, startup, created);
        error = GetLastError();
    }
    // Saved after the start, so that writing the report doesn't delay the game the tests time.
    watch.save();
    SetLastError(error);
    return result;
}

BOOL WINAPI WatchedShellExecute(SHELLEXECUTEINFOW* info) {
    KeyValues& report = *watch.report;
    report.Set("shell_execute_calls", ++watch.shellExecuteCalls);
    report.Set("shell_execute_verb", OrEmpty(info->lpVerb));
    report.Set("shell_execute_file", OrEmpty(info->lpFile));
    report.Set("shell_execute_parameters", OrEmpty(info->lpParameters));
    report.Set("shell_execute_directory", OrEmpty(info->lpDirectory));
    report.Set("shell_execute_mask", static_cast<unsigned long>(info->fMask));
    report.Set("shell_execute_owner_class", info->hwnd ? ClassName(info->hwnd) : std::wstring());
    BOOL result = FALSE;
    if (watch.injection == L"declined")
        SetLastError(ERROR_CANCELLED);
    else
        result = watch.shellExecute(info);
    const DWORD error = result ? ERROR_SUCCESS : GetLastError();
    report.Set("shell_execute_result", result != FALSE);
    report.Set("shell_execute_error", static_cast<unsigned long>(error));
    watch.save();
    SetLastError(error);
    return result;
}

bool IsName(LPCSTR name, const char* wanted) {
    // A number below 65536 in place of a name is an ordinal.
    return (reinterpret_cast<ULONG_PTR>(name) >> 16) != 0 && lstrcmpA(name, wanted) == 0;
}

FARPROC WINAPI WatchedGetProcAddress(HMODULE module, LPCSTR name) {
    const FARPROC found = watch.getProcAddress(module, name);
    if (!IsName(name, "ShellExecuteExW")) return found;
    watch.report->Set("shell_execute_lookups", ++watch.shellExecuteLookups);
    watch.save();
    if (!found) return found;
    watch.shellExecute = As<ShellExecuteExWFunction>(Untyped(found));
    return As<FARPROC>(Untyped(&WatchedShellExecute));
}

}  // namespace

void WatchGameStart(KeyValues& report, std::function<void()> save) {
    watch.report = &report;
    watch.save = std::move(save);
    watch.injection = autorun::EnvironmentValue(L"E2E_INJECT_ELEVATION");
    const HMODULE launcher = GetModuleHandleW(nullptr);
    void** createSlot = ImportSlot(launcher, "kernel32.dll", "CreateProcessW");
    void** lookupSlot = ImportSlot(launcher, "kernel32.dll", "GetProcAddress");
    if (createSlot && lookupSlot) {
        watch.createProcess = As<CreateProcessWFunction>(*createSlot);
        watch.getProcAddress = As<GetProcAddressFunction>(*lookupSlot);
        const bool replaced = ReplaceImport(createSlot, Untyped(&WatchedCreateProcess)) &&
                              ReplaceImport(lookupSlot, Untyped(&WatchedGetProcAddress));
        report.Set("start_watch_installed", replaced);
    } else {
        report.Set("start_watch_installed", false);
    }
    report.Set("create_process_calls", 0);
    report.Set("shell_execute_lookups", 0);
    report.Set("shell_execute_calls", 0);
    watch.save();
}

void RecordAtClose(KeyValues& report) {
    report.Set("shell32_loaded_at_close", GetModuleHandleW(L"shell32.dll") != nullptr);
}

}  // namespace e2e
