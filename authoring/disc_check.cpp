#include "disc_check.h"

#include <algorithm>
#include <system_error>

#include "autorun_inf.h"
#include "disc_file_names.h"
#include "disc_names.h"
#include "drive_icon_check.h"
#include "elevation_prompt.h"
#include "launcher_branding.h"
#include "linux_side_check.h"
#include "pe_image.h"
#include "settings_format.h"
#include "signature_check.h"
#include "splash_picture.h"
#include "split_file_check.h"
#include "terminal_text.h"
#include "folder_tree.h"
#include "text_encoding.h"

namespace authoring {
namespace {

constexpr const char* kAutorunInf = autorun::kAutorunInfName;
constexpr const char* kSettingsFile = autorun::kSettingsFileName;
// Enough for any program's headers and resources; an installer's payload, often hundreds of
// megabytes, follows them and is not read.
constexpr std::size_t kProgramReadLimit = 64u << 20;

class Checker {
   public:
    explicit Checker(const DiscReader& disc) : disc_(disc) {}

    CheckReport Run() {
        CheckNames();
        const auto launcher = CheckAutorunInf();
        if (launcher) CheckLauncher(*launcher);
        const auto game = CheckSettings();
        if (launcher && game) CheckGame(*launcher, *game);
        CheckLinuxSide(disc_, report_.findings);
        CheckSplitFiles(disc_, report_.findings);
        if (disc_.IsFolder())
            report_.findings.push_back(
                {Finding::kNote,
                 "on a USB stick, Windows 7 and later ignore open= (XP with SP2 asks first): the "
                 "stick shows its label and icon, and the player starts " +
                     (launcher ? PathText(*launcher) : std::string("the launcher")) + " by hand",
                 true});
        return std::move(report_);
    }

   private:
    void Add(Finding::Level level, const std::string& text) { report_.findings.push_back({level, text}); }

    void CheckNames() {
        if (!disc_.HasWindowsNames())
            Add(Finding::kProblem, "the image has no Joliet names: Windows sees short upper-case names only");
        if (!disc_.VolumeId().empty()) Add(Finding::kGood, "volume ID " + disc_.VolumeId());
        std::size_t bad = 0;
        for (const std::filesystem::path& path : disc_.Files()) {
            if (const auto problem = JolietProblem(path)) {
                if (bad++ == 0) Add(Finding::kProblem, PathText(path) + ": " + *problem);
            }
        }
        if (bad > 1)
            Add(Finding::kProblem, std::to_string(bad - 1) + " more names don't fit Joliet's limits");
    }

    // The launcher's path on the disc, or nothing when AutoPlay would start nothing.
    std::optional<std::filesystem::path> CheckAutorunInf() {
        const auto inf = disc_.Find(kAutorunInf);
        if (!inf) {
            Add(Finding::kProblem, std::string("no ") + kAutorunInf +
                                       " at the root: Windows starts nothing when the disc goes in");
            return std::nullopt;
        }
        const auto keys = ParseAutorunInf(disc_.Read(*inf));
        const auto open = keys.find("open");
        if (open == keys.end() || open->second.empty()) {
            Add(Finding::kProblem, std::string(kAutorunInf) + " has no open= line in an [autorun] section");
            return std::nullopt;
        }
        const std::string program = ProgramOf(open->second);
        auto launcher = disc_.Find(program);
        if (!launcher) {
            Add(Finding::kProblem, kAutorunInf + (" opens " + program) + ", which is not on the disc");
            return std::nullopt;
        }
        Add(Finding::kGood, kAutorunInf + (" opens " + PathText(*launcher)));
        CheckDriveIcon(disc_, keys, report_.findings);
        const auto label = keys.find("label");
        if (label != keys.end()) Add(Finding::kGood, "label: " + label->second);
        return launcher;
    }

    // open= may quote the program and give it arguments.
    static std::string ProgramOf(const std::string& command) {
        if (!command.empty() && command[0] == '"') return command.substr(1, command.find('"', 1) - 1);
        return command.substr(0, command.find(' '));
    }

    void CheckLauncher(const std::filesystem::path& launcher) {
        try {
            const Bytes exe = disc_.Read(launcher);
            const SplashPicture splash = CheckSplashJpeg(ReadSplashResource(exe));
            Add(Finding::kGood, "the launcher's splash picture decodes: " + std::to_string(splash.width) +
                                    " x " + std::to_string(splash.height));
            for (const ScreenFit& fit : DescribeVisibleHeight(splash.width, splash.height))
                Add(fit.cut ? Finding::kWarning : Finding::kNote, fit.text);
            CheckLauncherSignature(exe, PathText(launcher), disc_.IsFolder(), report_.findings);
        } catch (const PictureError& error) {
            Add(Finding::kProblem,
                PathText(launcher) + ": the splash picture would not show: " + error.what());
        } catch (const PeFormatError& error) {
            Add(Finding::kProblem, PathText(launcher) + ": " + error.what());
        } catch (const BrandingError& error) {
            Add(Finding::kProblem, PathText(launcher) + ": " + error.what());
        }
    }

    // The executable's name as the launcher reads it, or nothing.
    std::optional<std::string> CheckSettings() {
        const auto settings = disc_.Find(kSettingsFile);
        if (!settings) {
            Add(Finding::kProblem, std::string("no ") + kSettingsFile +
                                       " at the root: the launcher reports an error and starts " +
                                       autorun::kDefaultGameExeName);
            return std::nullopt;
        }
        try {
            const Bytes bytes = disc_.Read(*settings);
            const std::string name = autorun::ParseLaunchSettings(bytes).gameExeName;
            Add(Finding::kGood, kSettingsFile + (" names " + FromAnsi(name)));
            return name;
        } catch (const autorun::SettingsFormatError& error) {
            Add(Finding::kProblem, kSettingsFile + (" is damaged: " + std::string(error.what())));
            return std::nullopt;
        }
    }

    // The launcher joins its own folder and the name; Windows then finds the file whatever its case.
    void CheckGame(const std::filesystem::path& launcher, const std::string& ansiName) {
        const std::filesystem::path folder = launcher.parent_path();
        const std::string folderText = folder.empty() ? "" : PathText(folder) + "/";
        const std::string windowsPath = kDiscRootOnWindows + folderText + ansiName;
        if (windowsPath.size() > kWindowsPathLimit) {
            Add(Finding::kProblem, "the game's path on the disc is " + std::to_string(windowsPath.size()) +
                                       " characters long; the launcher can start at most " +
                                       std::to_string(kWindowsPathLimit));
            return;
        }
        const std::u16string folderUtf16 = folder.empty() ? u"" : PathUtf16(folder) + u"/";
        const auto game = disc_.Find(folderUtf16 + ToUtf16(FromAnsi(ansiName)));
        if (!game) {
            Add(Finding::kProblem, "the game " + folderText + FromAnsi(ansiName) + " that " + kSettingsFile +
                                       " names is not on the disc");
            return;
        }
        Add(Finding::kGood, "the game " + PathText(*game) + " is there");
        CheckElevation(*game);
    }

    // Not a fault: the launcher starts such a game through the shell, which asks the player first.
    void CheckElevation(const std::filesystem::path& game) {
        const std::string name = PathText(game);
        const std::string prompt =
            "the player will see Windows' consent prompt (Vista and later) before " + name + " starts";
        switch (ElevationCauseOf(disc_.ReadStart(game, kProgramReadLimit), name)) {
            case ElevationCause::kRequireAdministrator:
                Add(Finding::kNote,
                    name +
                        " asks for administrator rights in its manifest (requireAdministrator): " + prompt);
                break;
            case ElevationCause::kHighestAvailable:
                Add(Finding::kNote, name +
                                        " asks for the highest rights its user has in its manifest "
                                        "(highestAvailable): on an administrator's account " +
                                        prompt);
                break;
            case ElevationCause::kInstallerName:
                Add(Finding::kNote, "Windows takes the 32-bit " + name +
                                        " for an installer by its name (no manifest in it states a "
                                        "requestedExecutionLevel): " +
                                        prompt);
                break;
            case ElevationCause::kNone:
                break;
        }
    }

    const DiscReader& disc_;
    CheckReport report_;
};

}  // namespace

bool CheckReport::WouldStartGame() const {
    return FirstProblem() == nullptr;
}

const Finding* CheckReport::FirstProblem() const {
    const auto found = std::find_if(findings.begin(), findings.end(), [](const Finding& finding) {
        return finding.level == Finding::kProblem;
    });
    return found == findings.end() ? nullptr : &*found;
}

CheckReport CheckDisc(const DiscReader& disc) {
    CheckReport report = Checker(disc).Run();
    // Findings quote names and texts from the disc, and the tool prints one a line.
    for (Finding& finding : report.findings) finding.text = EscapeControlCharacters(finding.text);
    return report;
}

const char* LevelName(Finding::Level level) {
    static constexpr const char* kNames[] = {"ok", "note", "warning", "PROBLEM"};
    return kNames[level];
}

CheckReport CheckDiscAt(const std::string& target) {
    std::error_code error;
    const std::filesystem::path path = autorun::SystemPath(FilePath(target));
    const bool folder = std::filesystem::is_directory(path, error);
    if (!folder && !std::filesystem::is_regular_file(path, error))
        throw DiscError(target + ": no such image or folder");
    return CheckDisc(*(folder ? ReadFolder(target) : ReadIsoImage(target)));
}

}  // namespace authoring
