// Drives "Autorun Disc Maker.exe" as an author at the keyboard would, with window messages only: starts
// it, fills its fields step by step, presses Enter (or clicks Make, or Cancel), waits for the make to
// end, reads the status line and the findings, captures the window, and closes it with Esc.  A step may
// save the project first, through the save dialog as the author fills it in; the saved project is then
// opened in a second window, from its command line, whose fields are read back.
//
//   maker_driver.exe CONFIG   (key=value lines, see run_maker.py; the report goes to CONFIG's "report")
#include <windows.h>
#include <commctrl.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "control_ids.h"
#include "e2e_support.h"
#include "win32_handle.h"

namespace {

using disc_maker::ControlId;

constexpr wchar_t kUnset[] = L"\x01";

// The fields a step may set, by the config's key.
struct Field {
    const char* key;
    int id;
};
constexpr Field kTextFields[] = {
    {"game", disc_maker::kGameFolder}, {"linux", disc_maker::kLinuxProgram},
    {"splash", disc_maker::kSplash},   {"icon", disc_maker::kIcon},
    {"label", disc_maker::kLabel},     {"product", disc_maker::kProduct},
    {"company", disc_maker::kCompany}, {"output", disc_maker::kOutput},
};

std::wstring TextOf(HWND control) {
    const auto length = std::size_t(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied = std::size_t(
        SendMessageW(control, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied);
    return text;
}

bool WaitFor(double ms, const std::function<bool()>& done) {
    const double deadline = e2e::ClockMs() + ms;
    while (!done()) {
        if (e2e::ClockMs() > deadline) return false;
        Sleep(50);
    }
    return true;
}

// Memory in the window program's process, for the list view's messages, which carry pointers.
class RemoteBuffer {
   public:
    RemoteBuffer(HANDLE process, std::size_t bytes)
        : process_(process), address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* get() const { return static_cast<char*>(address_); }

   private:
    HANDLE process_;
    void* address_;
};

class Driver {
   public:
    explicit Driver(const e2e::KeyValues& config) : config_(config) {}

    int Run() {
        const bool started = Start(L"");
        report_.Set("started", started);
        if (started) {
            const int steps = config_.GetInt("steps", 0);
            for (int step = 1; step <= steps; ++step) RunStep(std::to_string(step) + ".");
            Close();
        }
        if (started && !savedProject_.empty()) Reopen();
        report_.Save(config_.Get("report"));
        return started ? 0 : 1;
    }

   private:
    HWND Item(int id) const { return GetDlgItem(window_, id); }

    // `project`, when given, is the window program's argument.
    bool Start(const std::wstring& project) {
        const std::wstring maker = config_.Get("maker");
        std::wstring commandLine = L"\"" + maker + L"\"";
        if (!project.empty()) commandLine += L" \"" + project + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created{};
        if (!CreateProcessW(maker.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            e2e::DirectoryOf(maker).c_str(), &startup, &created)) {
            report_.Set("start_error", static_cast<long long>(GetLastError()));
            return false;
        }
        CloseHandle(created.hThread);
        process_ = std::make_unique<autorun::Win32Handle>(created.hProcess);
        const double began = e2e::ClockMs();
        const bool found = WaitFor(60000, [&] {
            window_ = FindWindowW(disc_maker::kWindowClass, nullptr);
            return window_ && IsWindowVisible(window_) && Item(disc_maker::kFindings);
        });
        report_.SetMs("window_ms", e2e::ClockMs() - began);
        if (!project.empty()) return found;
        // The fields start empty, whatever an earlier run remembered.
        report_.Set("fields_empty_at_start", found && TextOf(Item(disc_maker::kGameFolder)).empty() &&
                                                 TextOf(Item(disc_maker::kOutput)).empty());
        return found;
    }

    std::wstring Get(const std::string& key) const { return config_.Get(key, kUnset); }

    void Fill(const std::string& step) {
        for (const Field& field : kTextFields) {
            const std::wstring value = Get(step + field.key);
            if (value != kUnset)
                SendMessageW(Item(field.id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
        }
        const std::wstring kind = Get(step + "kind");
        if (kind != kUnset)
            SendMessageW(Item(kind == L"folder" ? disc_maker::kOutputFolder : disc_maker::kOutputIso),
                         BM_CLICK, 0, 0);
        const std::wstring replace = Get(step + "replace");
        const bool checked = SendMessageW(Item(disc_maker::kReplace), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (replace != kUnset && (replace == L"1") != checked)
            SendMessageW(Item(disc_maker::kReplace), BM_CLICK, 0, 0);
        const int medium = config_.GetInt(step + "medium", -1);
        if (medium >= 0) Select(disc_maker::kMedium, medium);
        const std::wstring program = Get(step + "program");
        if (program != kUnset) ChooseProgram(program);
    }

    void Select(int id, int index) {
        SendMessageW(Item(id), CB_SETCURSEL, WPARAM(index), 0);
        SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }

    // The folder's programs are listed once the author stops typing; one of them, or a name typed in.
    void ChooseProgram(const std::wstring& program) {
        HWND combo = Item(disc_maker::kGameProgram);
        WaitFor(10000, [&] { return SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0; });
        const LRESULT index =
            SendMessageW(combo, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(program.c_str()));
        report_.Set("programs_listed", static_cast<long long>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
        if (index != CB_ERR) {
            Select(disc_maker::kGameProgram, int(index));
            return;
        }
        SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
        SendMessageW(window_, WM_COMMAND, MAKEWPARAM(disc_maker::kGameProgram, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    void Capture(const std::string& key) {
        const std::wstring path = config_.Get(key);
        if (path.empty()) return;
        Sleep(500);  // the window repaints what the last messages changed
        RECT area{};
        GetWindowRect(window_, &area);
        autorun::Picture24::CaptureScreen(area).SaveBmp(path);
    }

    static bool Ended(const std::wstring& status) {
        return !status.empty() && status.rfind(L"Making", 0) != 0 && status.rfind(L"Cancelling", 0) != 0;
    }

    void RunStep(const std::string& step) {
        Fill(step);
        // The estimate has caught up once the gauge's line says something.
        report_.Set(step + "estimate_shown",
                    WaitFor(30000, [&] { return !TextOf(Item(disc_maker::kGaugeText)).empty(); }));
        report_.Set(step + "gauge_text", TextOf(Item(disc_maker::kGaugeText)));
        report_.Set(step + "splash_line", TextOf(Item(disc_maker::kSplashProblem)));
        const std::wstring project = Get(step + "save_project");
        if (project != kUnset) SaveProject(project);
        Capture(step + "capture_filled");
        HWND status = Item(disc_maker::kStatus);
        SendMessageW(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        const double pressed = e2e::ClockMs();
        // Enter, as the author presses it in a field: the dialog manager sends Make's command.
        PostMessageW(Item(disc_maker::kGameFolder), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(Item(disc_maker::kGameFolder), WM_KEYUP, VK_RETURN, 0);
        if (Get(step + "action") == L"cancel") Cancel(step);
        const int timeout = config_.GetInt(step + "timeout_ms", 300000);
        report_.Set(step + "ended", WaitFor(timeout, [&] { return Ended(TextOf(status)); }));
        report_.SetMs(step + "ms", e2e::ClockMs() - pressed);
        report_.Set(step + "status", TextOf(status));
        report_.Set(step + "make_button", TextOf(Item(disc_maker::kMake)));
        report_.Set(step + "findings", Findings());
        Capture(step + "capture_done");
    }

    // Every field as the author sees it, under `prefix`.
    void ReportFields(const std::string& prefix) {
        for (const Field& field : kTextFields) report_.Set(prefix + field.key, TextOf(Item(field.id)));
        report_.Set(prefix + "program", TextOf(Item(disc_maker::kGameProgram)));
        report_.Set(prefix + "kind",
                    IsDlgButtonChecked(window_, disc_maker::kOutputFolder) ? "folder" : "iso");
        report_.Set(prefix + "replace", IsDlgButtonChecked(window_, disc_maker::kReplace) == BST_CHECKED);
        report_.Set(prefix + "medium",
                    static_cast<long long>(SendMessageW(Item(disc_maker::kMedium), CB_GETCURSEL, 0, 0)));
        report_.Set(prefix + "title", TextOf(window_));
    }

    // The command shown, split into its words as the command prompt's programs split their command lines.
    void ReportCommand() {
        const std::wstring command = TextOf(Item(disc_maker::kCommand));
        report_.Set("command", command);
        int count = 0;
        wchar_t** words = CommandLineToArgvW(command.c_str(), &count);
        std::wstring joined;
        for (int i = 0; words && i < count; ++i) joined += std::wstring(words[i]) + L"\n";
        if (words) LocalFree(words);
        report_.Set("command_words", joined);
    }

    // The save dialog the window opens, once it is up: a dialog of the maker's process owned by its window.
    HWND SaveDialog() const {
        for (HWND dialog = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); dialog;
             dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr))
            if (GetWindow(dialog, GW_OWNER) == window_ && IsWindowVisible(dialog)) return dialog;
        return nullptr;
    }

    // The dialog's file name box: the explorer style's combo box, or the older style's edit.
    static HWND FileNameBox(HWND dialog) {
        constexpr int kFileNameCombo = 0x47c, kFileNameEdit = 0x480;  // cmb13 and edt1 of <dlgs.h>
        HWND box = GetDlgItem(dialog, kFileNameCombo);
        return box ? box : GetDlgItem(dialog, kFileNameEdit);
    }

    // Save project..., the file's name typed into the dialog, and OK, as the author's keys would.
    void SaveProject(const std::wstring& file) {
        ReportCommand();
        ReportFields("saved.");
        PostMessageW(Item(disc_maker::kSaveProjectAs), BM_CLICK, 0, 0);
        HWND dialog = nullptr;
        report_.Set("save_dialog",
                    WaitFor(30000, [&] { return (dialog = SaveDialog()) && FileNameBox(dialog); }));
        if (!dialog) return;
        Sleep(300);  // the dialog fills its own name box as it comes up
        SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        HWND status = Item(disc_maker::kStatus);
        report_.Set("saved", WaitFor(30000, [&] { return TextOf(status).rfind(L"Saved ", 0) == 0; }));
        report_.Set("save_status", TextOf(status));
        report_.Set("saved_title", TextOf(window_));
        savedProject_ = file;
    }

    // The saved project opened in a fresh window from its command line, as Explorer's "Open with" does.
    void Reopen() {
        const std::wstring file = config_.Get("reopen_project");
        report_.Set("reopened", Start(file));
        if (!window_) return;
        HWND status = Item(disc_maker::kStatus);
        report_.Set("reopened.status_shown", WaitFor(30000, [&] { return !TextOf(status).empty(); }));
        report_.Set("reopened.status", TextOf(status));
        ReportFields("reopened.");
        PostMessageW(Item(disc_maker::kGameFolder), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(Item(disc_maker::kGameFolder), WM_KEYUP, VK_ESCAPE, 0);
        report_.Set("reopened.closed", WaitForSingleObject(process_->get(), 60000) == WAIT_OBJECT_0);
        TerminateProcess(process_->get(), 1);
    }

    // Once a tenth of the image is written, Make, which reads Cancel by then, is clicked.
    void Cancel(const std::string& step) {
        HWND progress = Item(disc_maker::kProgress);
        report_.Set(step + "progress_seen",
                    WaitFor(120000, [&] { return SendMessageW(progress, PBM_GETPOS, 0, 0) >= 100; }));
        report_.Set(step + "button_while_making", TextOf(Item(disc_maker::kMake)));
        SendMessageW(Item(disc_maker::kMake), BM_CLICK, 0, 0);
    }

    // "level<TAB>text" per row.
    std::wstring Findings() {
        HWND list = Item(disc_maker::kFindings);
        constexpr std::size_t kTextChars = 4096;
        const RemoteBuffer remote(process_->get(), sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
        if (!remote.get()) return L"(cannot read the list)";
        std::wstring rows;
        const int count = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            for (int column = 0; column < 2; ++column) {
                LVITEMW item{};
                item.iSubItem = column;
                item.pszText = reinterpret_cast<wchar_t*>(remote.get() + sizeof(LVITEMW));
                item.cchTextMax = int(kTextChars);
                WriteProcessMemory(process_->get(), remote.get(), &item, sizeof item, nullptr);
                const auto length = std::size_t(SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row),
                                                             reinterpret_cast<LPARAM>(remote.get())));
                std::wstring text(length, L'\0');
                ReadProcessMemory(process_->get(), item.pszText, text.data(), length * sizeof(wchar_t),
                                  nullptr);
                rows += text + (column == 0 ? L"\t" : L"\n");
            }
        }
        return rows;
    }

    // Esc, at rest or while a make runs: then the make is cancelled and waited for before the window goes.
    void Close() {
        if (config_.GetInt("close_while_making", 0)) {
            PostMessageW(Item(disc_maker::kGameFolder), WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(Item(disc_maker::kGameFolder), WM_KEYUP, VK_RETURN, 0);
            report_.Set("making_when_closed", WaitFor(120000, [&] {
                            return SendMessageW(Item(disc_maker::kProgress), PBM_GETPOS, 0, 0) >= 100;
                        }));
        }
        PostMessageW(Item(disc_maker::kGameFolder), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(Item(disc_maker::kGameFolder), WM_KEYUP, VK_ESCAPE, 0);
        const bool closed = WaitForSingleObject(process_->get(), 60000) == WAIT_OBJECT_0;
        report_.Set("closed_by_esc", closed);
        DWORD code = 0;
        if (closed && GetExitCodeProcess(process_->get(), &code))
            report_.Set("exit_code", static_cast<long long>(code));
        if (!closed) TerminateProcess(process_->get(), 1);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Autorun\\Disc Maker", 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS)
            return;
        for (const auto& [name, value] :
             {std::pair{"remembered_game", L"Game folder"}, std::pair{"remembered_output", L"Output folder"},
              std::pair{"remembered_project", L"Project folder"}}) {
            wchar_t text[1024] = L"";
            DWORD bytes = sizeof text - sizeof(wchar_t), type = 0;
            if (RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) ==
                    ERROR_SUCCESS &&
                type == REG_SZ)
                report_.Set(name, std::wstring(text));
        }
        RegCloseKey(key);
    }

    const e2e::KeyValues& config_;
    e2e::KeyValues report_;
    std::unique_ptr<autorun::Win32Handle> process_;
    HWND window_ = nullptr;
    std::wstring savedProject_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments || count < 1) return 2;
    const e2e::KeyValues config = e2e::KeyValues::Load(arguments[count - 1]);
    LocalFree(arguments);
    return Driver(config).Run();
}
