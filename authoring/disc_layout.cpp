#include "disc_layout.h"

#include <map>
#include <system_error>

#include "autorun_inf.h"
#include "disc_names.h"
#include "settings_format.h"
#include "text_encoding.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

constexpr char kSettingsFile[] = "bin2.dat";
constexpr char kAutorunInf[] = "autorun.inf";

// The name bin2.dat stores: the executable's path from the launcher's folder, "\"-separated, in ANSI.
std::string SettingsName(const DiscPlan& plan) {
    const auto parts = SplitDiscPath(plan.exe);
    if (fs::path(plan.exe).is_absolute() || !parts || parts->empty())
        throw DiscError(plan.exe + ": --exe must be a path inside the game folder " + plan.gameFolder);
    std::string windowsName;
    for (const std::string& part : *parts) windowsName += (windowsName.empty() ? "" : "\\") + part;
    const fs::path exe = fs::path(plan.gameFolder) / plan.exe;
    std::error_code error;
    if (!fs::is_regular_file(exe, error))
        throw DiscError(PathText(exe) + ": no such file in the game folder");
    const fs::path real = fs::weakly_canonical(exe, error);
    const fs::path root = fs::weakly_canonical(plan.gameFolder, error);
    const auto relative = real.lexically_relative(root);
    if (error || relative.empty() || *relative.begin() == "..")
        throw DiscError(PathText(exe) + ": --exe leads out of the game folder (through a link?)");

    const auto ansi = ToAnsi(windowsName);
    if (!ansi)
        throw DiscError(plan.exe + ": the name has characters that " + AnsiCodePageName() +
                        ", in which bin2.dat stores it, can't hold; rename the file");
    const std::size_t length = std::string(kDiscRootOnWindows).size() + ansi->size();
    if (length > kWindowsPathLimit)
        throw DiscError(plan.exe + ": the path is too long for the launcher (" + std::to_string(length) +
                        " characters from the disc's root, at most " + std::to_string(kWindowsPathLimit) +
                        ")");
    return *ansi;
}

void RequireFreeName(const std::string& gameFolder, const fs::path& path) {
    static const char* const reserved[] = {kLauncherOnDisc, kSettingsFile, kAutorunInf};
    for (const char* name : reserved)
        if (WindowsNameKey(PathUtf16(path)) == WindowsNameKey(ToUtf16(name)))
            throw DiscError(PathText(fs::path(gameFolder) / path) + ": the disc's own " + name +
                            " goes there; move or remove the game's file of that name");
}

void AddGameFiles(const std::string& gameFolder, DiscContents& contents) {
    std::error_code error;
    if (!fs::is_directory(gameFolder, error)) throw DiscError(gameFolder + ": no such folder");
    std::map<std::u16string, fs::path> seen;  // Windows' key of each name, and the name
    fs::recursive_directory_iterator walk(gameFolder, error), end;
    for (; !error && walk != end; walk.increment(error)) {
        const fs::path path = walk->path().lexically_relative(gameFolder);
        if (const auto problem = JolietProblem(path))
            throw DiscError(PathText(walk->path()) + ": " + *problem);
        const auto clash = seen.emplace(WindowsNameKey(PathUtf16(path)), path);
        if (!clash.second)
            throw DiscError(PathText(walk->path()) + ": Windows can't tell it from " +
                            PathText(clash.first->second) + " (names differ in case only)");
        RequireFreeName(gameFolder, path);
        if (walk->is_directory(error)) {
            contents.folders.push_back(path);
        } else if (walk->is_regular_file(error)) {
            contents.files.push_back({path, fs::absolute(walk->path(), error), {}});
        } else {
            throw DiscError(PathText(walk->path()) + ": neither a file nor a folder");
        }
    }
    if (error) throw DiscError(gameFolder + ": cannot read the folder: " + error.message());
}

}  // namespace

DiscContents LayOutDisc(const DiscPlan& plan) {
    DiscContents contents;
    contents.label = plan.label;
    AddGameFiles(plan.gameFolder, contents);
    const std::string name = SettingsName(plan);
    contents.files.push_back({kLauncherOnDisc, std::nullopt, plan.launcher});
    contents.files.push_back(
        {kSettingsFile, std::nullopt, autorun::BuildLaunchSettings(name, name, std::string(4, '\0'))});
    contents.files.push_back({kAutorunInf, std::nullopt,
                              BuildAutorunInf({kLauncherOnDisc, kLauncherOnDisc, plan.label, plan.action})});
    return contents;
}

}  // namespace authoring
