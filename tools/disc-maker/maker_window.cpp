#include "maker_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <memory>
#include <set>
#include <string_view>

#include "control_ids.h"
#include "disc_authoring.h"
#include "disc_media.h"
#include "field_text.h"
#include "file_dialogs.h"
#include "findings_list.h"
#include "game_program_list.h"
#include "make_worker.h"
#include "project_document.h"
#include "project_file.h"
#include "project_fields.h"
#include "settings_memory.h"
#include "size_estimate.h"
#include "splash_look.h"
#include "splash_preview.h"
#include "win32_module_path.h"
#include "window_layout.h"
#include "window_messages.h"

namespace disc_maker {
namespace {

namespace fs = std::filesystem;

constexpr UINT_PTR kRefreshTimer = 1;
// Typing pauses this long before the program list, the preview and the estimate catch up.
constexpr UINT kRefreshDelayMs = 300;
constexpr COLORREF kProblemColour = RGB(192, 0, 0);

constexpr wchar_t kPictureFilter[] = L"Pictures (*.jpg, *.jpeg, *.png)\0*.jpg;*.jpeg;*.png\0All files\0*.*\0";
constexpr wchar_t kIconFilter[] =
    L"Icons and pictures (*.ico, *.png, *.jpg, *.jpeg)\0*.ico;*.png;*.jpg;*.jpeg\0All files\0*.*\0";
constexpr wchar_t kIsoFilter[] = L"ISO images (*.iso)\0*.iso\0All files\0*.*\0";
constexpr wchar_t kAnyFilter[] = L"All files\0*.*\0";

std::wstring Lowered(std::wstring text) {
    CharLowerBuffW(text.data(), DWORD(text.size()));
    return text;
}

// What the disc is called when its name field is empty.
std::wstring DefaultDiscName(const std::wstring& gameFolder) {
    return gameFolder.empty() ? std::wstring() : WindowText(authoring::DefaultLabel(LibraryPath(gameFolder)));
}

std::wstring ParentFolder(const std::wstring& path) {
    return fs::path(path).parent_path().wstring();
}

class MakerWindow {
   public:
    MakerWindow(HWND window, HINSTANCE instance)
        : window_(window), toolFolder_(fs::path(autorun::CurrentModuleFileName()).parent_path()) {
        CreateControls(window_, instance, units_);
        DragAcceptFiles(window_, TRUE);
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OpenProject(const std::wstring& file);

   private:
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    void SetText(int id, const std::wstring& text, bool problem = false);
    void ScheduleRefresh() { SetTimer(window_, kRefreshTimer, kRefreshDelayMs, nullptr); }

    void Command(int id, int code);
    void Browse(int id);
    std::wstring DiscFolderName() const;
    void Refresh();
    void RefreshPrograms(const std::wstring& folder);
    void RefreshSplash();
    void StartEstimate();
    void ShowEstimate(const Estimate& estimate);
    void ShowGauge(std::uint64_t sectors);

    void Make();
    void MakeEnded(const MakeOutcome& outcome);
    void DropFiles(HDROP drop);
    void Close();

    void ChooseProjectToOpen();
    void SaveProject(bool choose);
    std::optional<std::wstring> ChooseProjectFile();
    void ShowProjectFile(const std::wstring& file);
    void ShowCommand();

    HWND window_;
    DialogUnits units_;
    fs::path toolFolder_;
    std::unique_ptr<MakeWorker> make_;
    std::unique_ptr<SizeEstimate> estimate_;
    bool estimateStale_ = false;
    std::uint64_t estimatedSectors_ = 0;
    std::wstring listedFolder_;
    std::wstring shownSplash_;
    SplashLook splash_;
    std::set<int> problems_;    // the static controls that show a problem, in red
    std::wstring projectFile_;  // where the project was last opened from or saved to
};

void MakerWindow::SetText(int id, const std::wstring& text, bool problem) {
    if (problem)
        problems_.insert(id);
    else
        problems_.erase(id);
    SetControlText(Control(id), text);
    InvalidateRect(Control(id), nullptr, TRUE);
}

void MakerWindow::Browse(int id) {
    const std::wstring game = PathInField(window_, kGameFolder);
    std::optional<std::wstring> chosen;
    switch (id) {
        case kGameFolderBrowse:
            chosen = ChooseFolder(window_, L"The game's folder: everything in it goes onto the disc",
                                  game.empty() ? RememberedFolder(kGameFolderValue) : game);
            if (chosen) RememberFolder(kGameFolderValue, *chosen);
            if (chosen) SetControlText(Control(kGameFolder), *chosen);
            return;
        case kLinuxProgramBrowse: {
            chosen = ChooseFileToOpen(window_, kAnyFilter, L"", game);
            if (!chosen) return;
            // A path inside the game folder is what the field takes; anything else stays whole, and
            // the make says why it won't do.
            const fs::path relative = fs::path(*chosen).lexically_relative(game);
            const bool inside = !game.empty() && !relative.empty() && *relative.begin() != L"..";
            SetControlText(Control(kLinuxProgram), inside ? relative.wstring() : *chosen);
            return;
        }
        case kSplashBrowse:
            chosen = ChooseFileToOpen(window_, kPictureFilter, PathInField(window_, kSplash), L"");
            if (chosen) SetControlText(Control(kSplash), *chosen);
            return;
        case kIconBrowse:
            chosen = ChooseFileToOpen(window_, kIconFilter, PathInField(window_, kIcon), L"");
            if (chosen) SetControlText(Control(kIcon), *chosen);
            return;
        case kOutputBrowse: {
            const std::wstring current = PathInField(window_, kOutput);
            if (IsDlgButtonChecked(window_, kOutputFolder) == BST_CHECKED) {
                // The disc's folder is made, so the author chooses where it goes; it is named after the disc.
                chosen = ChooseFolder(
                    window_, L"Where the disc's folder goes",
                    current.empty() ? RememberedFolder(kOutputFolderValue) : ParentFolder(current));
                if (chosen) chosen = (fs::path(*chosen) / DiscFolderName()).wstring();
            } else {
                chosen = ChooseFileToSave(window_, kIsoFilter, L"iso", current,
                                          RememberedFolder(kOutputFolderValue));
            }
            if (chosen) SetControlText(Control(kOutput), *chosen);
            return;
        }
    }
}

// The disc's name, or the one it will take, without what Windows refuses in a folder's name.
std::wstring MakerWindow::DiscFolderName() const {
    std::wstring name = ControlText(Control(kLabel));
    if (name.empty()) name = DefaultDiscName(PathInField(window_, kGameFolder));
    for (wchar_t& character : name)
        if (character < L' ' || std::wstring_view(L"<>:\"/\\|?*").find(character) != std::wstring_view::npos)
            character = L'_';
    return name.empty() ? std::wstring(L"disc") : name;
}

void MakerWindow::RefreshPrograms(const std::wstring& folder) {
    if (folder == listedFolder_) return;
    listedFolder_ = folder;
    std::vector<authoring::GameProgram> programs;
    std::error_code error;
    if (!folder.empty() && fs::is_directory(folder, error)) {
        try {
            programs = authoring::FindGamePrograms(folder);
        } catch (const std::exception&) {
            // The estimate, and the make, say what is wrong with the folder.
        }
    }
    FillGamePrograms(Control(kGameProgram), programs);
    const std::wstring cue = DefaultDiscName(folder);
    SendMessageW(Control(kLabel), EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(cue.c_str()));
}

int ChosenShape(HWND window) {
    if (IsDlgButtonChecked(window, kScreen16x10) == BST_CHECKED) return 1;
    if (IsDlgButtonChecked(window, kScreen16x9) == BST_CHECKED) return 2;
    return 0;
}

void MakerWindow::RefreshSplash() {
    const std::wstring path = PathInField(window_, kSplash);
    if (path != shownSplash_) {
        shownSplash_ = path;
        splash_ = LookAtSplash(path);
        ShowSplashInPreview(Control(kPreview), splash_.jpeg);
    }
    const int shape = ChosenShape(window_);
    SetPreviewScreen(Control(kPreview), shape == 0   ? ScreenShape::k4x3
                                        : shape == 1 ? ScreenShape::k16x10
                                                     : ScreenShape::k16x9);
    // What each screen cuts off is the preview's caption; this line is for a picture that won't do.
    SetText(kSplashProblem, splash_.problem, true);
}

void MakerWindow::StartEstimate() {
    if (estimate_) {
        estimateStale_ = true;
        return;
    }
    estimateStale_ = false;
    authoring::DiscProject project;
    try {
        project = ProjectFromFields(window_);
    } catch (const FieldError& error) {
        ShowEstimate({0, error.what()});
        return;
    }
    if (project.gameFolder.empty() || project.exe.empty()) {
        ShowEstimate({});
        return;
    }
    estimate_ = std::make_unique<SizeEstimate>(window_, std::move(project), toolFolder_);
    if (!estimate_->Started()) estimate_.reset();
}

// "12%", or "0.4%" for a sliver, from thousandths.
std::wstring Percent(std::uint64_t thousandths) {
    if (thousandths >= 100) return std::to_wstring((thousandths + 5) / 10) + L"%";
    return std::to_wstring(thousandths / 10) + L"." + std::to_wstring(thousandths % 10) + L"%";
}

// How full the chosen medium, or else the smallest that holds the disc, will be.
void MakerWindow::ShowGauge(std::uint64_t sectors) {
    if (sectors == 0) {
        SendMessageW(Control(kGauge), PBM_SETPOS, 0, 0);
        SetText(kGaugeText, L"");
        return;
    }
    const authoring::Medium* chosen = ChosenMedium(window_);
    const authoring::Medium* medium = chosen ? chosen : authoring::SmallestMediumFor(sectors);
    const std::uint64_t full =
        medium ? std::min<std::uint64_t>(1000, sectors * 1000 / medium->sectors) : 1000;
    SendMessageW(Control(kGauge), PBM_SETPOS, WPARAM(full), 0);
    if (const auto problem = chosen ? authoring::FitProblem(*chosen, sectors) : std::nullopt) {
        SetText(kGaugeText, L"Won't fit: " + WindowText(*problem), true);
        return;
    }
    std::wstring text = L"About " + WindowText(authoring::FitSummary(sectors));
    if (medium)
        text += L"; fills " + Percent(sectors * 1000 / medium->sectors) + L" of a " +
                WindowText(std::string(medium->name));
    SetText(kGaugeText, text);
}

void MakerWindow::ShowEstimate(const Estimate& estimate) {
    estimatedSectors_ = estimate.sectors;
    if (!estimate.error.empty()) {
        SendMessageW(Control(kGauge), PBM_SETPOS, 0, 0);
        SetText(kGaugeText, WindowText(estimate.error), true);
        return;
    }
    ShowGauge(estimate.sectors);
}

void MakerWindow::Refresh() {
    KillTimer(window_, kRefreshTimer);
    RefreshPrograms(PathInField(window_, kGameFolder));
    // A new listing may have chosen another program.
    ShowCommand();
    RefreshSplash();
    StartEstimate();
}

void MakerWindow::ShowCommand() {
    const std::wstring command = CommandOfFields(window_);
    if (command != ControlText(Control(kCommand))) SetControlText(Control(kCommand), command);
}

void MakerWindow::ShowProjectFile(const std::wstring& file) {
    projectFile_ = file;
    SetWindowTextW(window_, WindowTitle(file).c_str());
    RememberFolder(kProjectFolderValue, ParentFolder(file));
}

// Every field comes from the file, the program list first, so that the project's program is chosen
// even when the folder's listing lacks it.
void MakerWindow::OpenProject(const std::wstring& file) {
    std::error_code error;
    const fs::path path = fs::absolute(fs::path(file), error);
    authoring::DiscProject project;
    try {
        project = authoring::ReadProjectFile(error ? fs::path(file) : path);
    } catch (const std::exception& failure) {
        SetText(kStatus, WindowText(failure.what()), true);
        return;
    }
    FieldsFromProject(window_, project);
    RefreshPrograms(PathInField(window_, kGameFolder));
    if (!project.exe.empty()) ChooseGameProgram(Control(kGameProgram), WindowText(project.exe));
    ShowProjectFile((error ? fs::path(file) : path).wstring());
    ClearFindings(Control(kFindings));
    SendMessageW(Control(kProgress), PBM_SETPOS, 0, 0);
    SetText(kStatus, L"Opened " + fs::path(projectFile_).filename().wstring());
    Refresh();
}

void MakerWindow::ChooseProjectToOpen() {
    const std::wstring start =
        projectFile_.empty() ? RememberedFolder(kProjectFolderValue) : ParentFolder(projectFile_);
    if (const auto chosen = ChooseFileToOpen(window_, kProjectFilter, L"", start)) OpenProject(*chosen);
}

// Nothing when the author cancels, or declines to replace a file the dialog did not ask about.
std::optional<std::wstring> MakerWindow::ChooseProjectFile() {
    const std::wstring current = projectFile_.empty() ? DiscFolderName() + kProjectExtension : projectFile_;
    const std::wstring start = projectFile_.empty() ? RememberedFolder(kProjectFolderValue) : L"";
    const auto chosen = ChooseFileToSave(window_, kProjectFilter, nullptr, current, start, true);
    if (!chosen) return std::nullopt;
    const std::wstring file = WithProjectExtension(*chosen);
    if (file == *chosen || GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return file;
    const std::wstring question =
        fs::path(file).filename().wstring() + L" already exists.\nDo you want to replace it?";
    if (MessageBoxW(window_, question.c_str(), L"Save project", MB_YESNO | MB_ICONWARNING) != IDYES)
        return std::nullopt;
    return file;
}

// A draft is saved as it is: the file format takes a project without its game or output.
void MakerWindow::SaveProject(bool choose) {
    authoring::DiscProject project;
    try {
        project = ProjectFromFields(window_);
    } catch (const FieldError& error) {
        SetText(kStatus, WindowText(error.what()), true);
        return;
    }
    std::wstring file = projectFile_;
    if (choose || file.empty()) {
        const auto chosen = ChooseProjectFile();
        if (!chosen) return;
        file = *chosen;
    }
    try {
        authoring::WriteProjectFile(project, fs::path(file));
    } catch (const std::exception& failure) {
        SetText(kStatus, WindowText(failure.what()), true);
        return;
    }
    ShowProjectFile(file);
    SetText(kStatus, L"Saved " + fs::path(file).filename().wstring());
}

void MakerWindow::Make() {
    if (make_) {
        make_->Cancel();
        SetText(kStatus, L"Cancelling...");
        return;
    }
    authoring::DiscProject project;
    try {
        project = ProjectFromFields(window_);
        RequireMakeable(project);
    } catch (const FieldError& error) {
        SetText(kStatus, WindowText(error.what()), true);
        return;
    }
    RememberFolder(kGameFolderValue, PathInField(window_, kGameFolder));
    RememberFolder(kOutputFolderValue, ParentFolder(PathInField(window_, kOutput)));
    ClearFindings(Control(kFindings));
    SendMessageW(Control(kProgress), PBM_SETPOS, 0, 0);
    SetText(kStatus, L"Making " + fs::path(PathInField(window_, kOutput)).filename().wstring() + L"...");
    make_ = std::make_unique<MakeWorker>(window_, std::move(project), toolFolder_);
    if (!make_->Started()) {
        make_.reset();
        SetText(kStatus, L"cannot start the make: no thread", true);
        return;
    }
    SetControlText(Control(kMake), L"&Cancel");
}

void MakerWindow::MakeEnded(const MakeOutcome& outcome) {
    make_.reset();
    SetControlText(Control(kMake), L"&Make");
    const std::wstring name = fs::path(WindowText(outcome.output)).filename().wstring();
    switch (outcome.end) {
        case MakeOutcome::End::kCancelled:
            SendMessageW(Control(kProgress), PBM_SETPOS, 0, 0);
            SetText(kStatus, L"Cancelled: nothing was written");
            return;
        case MakeOutcome::End::kFailed:
            SendMessageW(Control(kProgress), PBM_SETPOS, 0, 0);
            SetText(kStatus, WindowText(outcome.error), true);
            return;
        case MakeOutcome::End::kMade:
            break;
    }
    SendMessageW(Control(kProgress), PBM_SETPOS, 1000, 0);
    SetText(kStatus, L"Made " + name + L": " + std::to_wstring(outcome.made.files) + L" files, " +
                         (outcome.folder ? L"burnt as a disc at most " : L"") +
                         WindowText(authoring::FitSummary(outcome.made.sectors)));
    for (const authoring::Finding& finding : outcome.made.report.findings)
        AddFinding(Control(kFindings), authoring::LevelName(finding.level), WindowText(finding.text));
    SendMessageW(Control(kFindings), LVM_ENSUREVISIBLE, 0, FALSE);
    ShowEstimate({outcome.made.sectors, {}});
}

// A folder is the game folder; a picture the splash, an icon the icon.
void MakerWindow::DropFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), UINT(path.size())));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const std::wstring extension = Lowered(fs::path(path).extension().wstring());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            SetControlText(Control(kGameFolder), path);
        else if (extension == L".json")
            OpenProject(path);
        else if (extension == L".ico")
            SetControlText(Control(kIcon), path);
        else if (extension == L".jpg" || extension == L".jpeg" || extension == L".png")
            SetControlText(Control(kSplash), path);
    }
    DragFinish(drop);
}

// A running make is cancelled and waited for: it leaves nothing behind then.  What the workers posted
// meanwhile is taken back, so that nothing they allocated outlives the window.
void MakerWindow::Close() {
    if (make_) make_->Cancel();
    make_.reset();
    estimate_.reset();
    MSG message;
    while (PeekMessageW(&message, window_, kFirstWorkerMessage, kLastWorkerMessage, PM_REMOVE)) {
        if (message.message == kMakeWarning) TakePosted<std::string>(message.lParam);
        if (message.message == kMakeDone) TakePosted<MakeOutcome>(message.lParam);
        if (message.message == kEstimateDone) TakePosted<Estimate>(message.lParam);
    }
    DestroyWindow(window_);
}

void MakerWindow::Command(int id, int code) {
    switch (id) {
        case kMake:
            Make();
            return;
        case kOpenProject:
            ChooseProjectToOpen();
            return;
        case kSaveProject:
        case kSaveProjectAs:
            SaveProject(id == kSaveProjectAs);
            return;
        case kCopyCommand:
            if (!CopyToClipboard(window_, ControlText(Control(kCommand))))
                SetText(kStatus, L"cannot copy the command: the clipboard is busy", true);
            return;
        case kCommand:
            return;
        case IDCANCEL:
            Close();
            return;
        case kGameFolderBrowse:
        case kLinuxProgramBrowse:
        case kSplashBrowse:
        case kIconBrowse:
        case kOutputBrowse:
            Browse(id);
            return;
        case kScreen4x3:
        case kScreen16x10:
        case kScreen16x9:
            RefreshSplash();
            return;
        case kMedium:
            if (code == CBN_SELCHANGE) ShowGauge(estimatedSectors_);
            break;
        case kOutputIso:
        case kOutputFolder:
            if (code == BN_CLICKED) ScheduleRefresh();
            break;
        case kGameProgram:
            if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) ScheduleRefresh();
            break;
        default:
            if (code == EN_CHANGE) ScheduleRefresh();
            break;
    }
    // The command follows every field at once: it needs no file, unlike the rest of Refresh.
    ShowCommand();
}

LRESULT MakerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kRefreshTimer) Refresh();
            return 0;
        case kMakeProgress:
            SendMessageW(Control(kProgress), PBM_SETPOS, wParam, 0);
            return 0;
        case kMakeWarning:
            AddFinding(Control(kFindings), authoring::LevelName(authoring::Finding::kWarning),
                       WindowText(*TakePosted<std::string>(lParam)));
            return 0;
        case kMakeDone:
            MakeEnded(*TakePosted<MakeOutcome>(lParam));
            return 0;
        case kEstimateDone: {
            const auto estimate = TakePosted<Estimate>(lParam);
            estimate_.reset();
            if (estimateStale_)
                StartEstimate();
            else
                ShowEstimate(*estimate);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            const LRESULT brush = DefWindowProcW(window_, message, wParam, lParam);
            if (problems_.count(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))))
                SetTextColor(reinterpret_cast<HDC>(wParam), kProblemColour);
            return brush;
        }
        case DM_GETDEFID:
            return MAKELRESULT(kMake, DC_HASDEFID);
        case WM_DROPFILES:
            DropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* maker = reinterpret_cast<MakerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_CREATE) {
        maker = new MakerWindow(window, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(maker));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        std::unique_ptr<MakerWindow> owned(maker);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return maker ? maker->Handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMakerWindow(HINSTANCE instance) {
    RegisterSplashPreview(instance);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"MAINICON");
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMakerWindow(HINSTANCE instance, int show, const std::wstring& projectFile) {
    const DialogUnits units;
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, units.X(kClientWidth), units.Y(kClientHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT);
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"Autorun Disc Maker", kStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window) return nullptr;
    ShowWindow(window, show);
    UpdateWindow(window);
    SetFocus(GetDlgItem(window, kGameFolder));
    auto* maker = reinterpret_cast<MakerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!projectFile.empty() && maker) maker->OpenProject(projectFile);
    return window;
}

HACCEL CreateMakerAccelerators() {
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', kOpenProject}, {FCONTROL | FVIRTKEY, 'S', kSaveProject}};
    return CreateAcceleratorTableW(keys, int(std::size(keys)));
}

}  // namespace disc_maker
