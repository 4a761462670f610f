#include "linux_side_check.h"

#include "disc_file_names.h"
#include "elf_image.h"
#include "settings_format.h"

namespace authoring {
namespace {

constexpr const char* kScript = autorun::kLinuxScriptName;
constexpr const char* kLauncher = autorun::kLinuxLauncherName;

// Why a missing or broken launcher matters to the player.
std::string StartsNothing() {
    return std::string(": on Linux, ") + kScript + " starts nothing";
}

class LinuxChecker {
   public:
    LinuxChecker(const DiscReader& disc, std::vector<Finding>& findings) : disc_(disc), findings_(findings) {}

    void Run() {
        const bool script = disc_.HasExactly(kScript);
        if (!script && !disc_.HasExactly(autorun::kLinuxSettingsFileName)) return;
        if (!script)
            Add(Finding::kWarning,
                std::string("no ") + kScript +
                    " at the root: Linux desktops offer nothing to run when the disc goes in");
        else
            RequireExecutable(kScript, kScript);
        CheckLauncher();
        if (const auto game = CheckSettings()) CheckGame(*game);
    }

   private:
    void Add(Finding::Level level, const std::string& text) { findings_.push_back({level, text}); }

    void CheckLauncher() {
        if (!disc_.HasExactly(kLauncher)) {
            Add(Finding::kProblem,
                std::string("no Linux launcher ") + kLauncher + " at the root" + StartsNothing());
            return;
        }
        if (const auto problem = X8664ExecutableProblem(disc_.Read(kLauncher))) {
            Add(Finding::kProblem, std::string(kLauncher) + ": " + *problem + StartsNothing());
            return;
        }
        Add(Finding::kGood, std::string("the Linux launcher ") + kLauncher + " is there");
    }

    std::optional<std::string> CheckSettings() {
        const std::string settings = autorun::kLinuxSettingsFileName;
        if (!disc_.HasExactly(settings)) {
            Add(Finding::kProblem, "no " + settings +
                                       " at the root: on Linux, the launcher reports an error and starts " +
                                       autorun::kDefaultGameExeName);
            return std::nullopt;
        }
        try {
            const std::string name = autorun::ParseLaunchSettings(disc_.Read(settings)).gameExeName;
            Add(Finding::kGood, settings + " names " + name);
            return name;
        } catch (const autorun::SettingsFormatError& error) {
            Add(Finding::kProblem,
                settings + " is damaged, so the game would not start on Linux: " + error.what());
            return std::nullopt;
        }
    }

    // autorun.sh runs the launcher with the root as its folder; the game lies beside it.
    void CheckGame(const std::string& name) {
        if (!disc_.HasExactly(name)) {
            Add(Finding::kProblem,
                "the Linux game " + name + " that " + autorun::kLinuxSettingsFileName +
                    " names is not on the disc (names must match in case), so nothing starts on Linux");
            return;
        }
        if (RequireExecutable(name, "the Linux game " + name))
            Add(Finding::kGood, "the Linux game " + name + " is there");
    }

    // False, with a problem, when the medium says the file may not be run.
    bool RequireExecutable(const std::string& path, const std::string& what) {
        const auto executable = disc_.IsExecutable(path);
        if (!executable || *executable) return true;
        Add(Finding::kProblem,
            what + " is not executable (its mode has no x bits), so it would not start on Linux");
        return false;
    }

    const DiscReader& disc_;
    std::vector<Finding>& findings_;
};

}  // namespace

void CheckLinuxSide(const DiscReader& disc, std::vector<Finding>& findings) {
    LinuxChecker(disc, findings).Run();
}

}  // namespace authoring
