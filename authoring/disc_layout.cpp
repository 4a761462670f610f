#include "disc_layout.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "autorun_inf.h"
#include "disc_names.h"
#include "icon_file.h"
#include "disc_file_names.h"
#include "folder_tree.h"
#include "launcher_branding.h"
#include "pe_image.h"
#include "settings_format.h"
#include "text_encoding.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

// The parts of `exe`, a file that must lie inside the game folder; `option` names it in errors.
std::vector<std::string> GameFileParts(const std::string& gameFolder, const std::string& exe,
                                       const std::string& option) {
    const auto parts = SplitDiscPath(exe);
    if (FilePath(exe).is_absolute() || !parts || parts->empty())
        throw DiscError(exe + ": " + option + " must be a path inside the game folder " + gameFolder);
    const fs::path file = FilePath(gameFolder) / FilePath(exe);
    std::error_code error;
    if (!fs::is_regular_file(autorun::SystemPath(file), error))
        throw DiscError(PathText(file) + ": no such file in the game folder");
    const fs::path real = fs::weakly_canonical(file, error);
    if (error) throw DiscError(PathText(file) + ": cannot follow the path: " + error.message());
    const fs::path root = fs::weakly_canonical(FilePath(gameFolder), error);
    if (error) throw DiscError(gameFolder + ": cannot follow the path: " + error.message());
    const auto relative = real.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..")
        throw DiscError(PathText(file) + ": " + option + " leads out of the game folder (through a link?)");
    return *parts;
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : separator) + part;
    return joined;
}

// The name bin2.dat stores: the executable's path from the launcher's folder, "\"-separated, in ANSI.
std::string SettingsName(const DiscPlan& plan) {
    const std::string windowsName = Join(GameFileParts(plan.gameFolder, plan.exe, "--exe"), "\\");
    const auto ansi = ToAnsi(windowsName);
    if (!ansi)
        throw DiscError(plan.exe + ": the name has characters that " + AnsiCodePageName() + ", in which " +
                        autorun::kSettingsFileName + " stores it, can't hold; rename the file");
    const std::size_t length = std::string(kDiscRootOnWindows).size() + ansi->size();
    if (length > kWindowsPathLimit)
        throw DiscError(plan.exe + ": the path is too long for the launcher (" + std::to_string(length) +
                        " characters from the disc's root, at most " + std::to_string(kWindowsPathLimit) +
                        ")");
    return *ansi;
}

// Settings as both launchers read them: the name twice, no start-up delay.
Bytes Settings(const std::string& name) {
    return autorun::BuildLaunchSettings(name, name, std::string(4, '\0'));
}

// The names the disc's own files take at its root.
std::vector<std::string> ReservedNames(const DiscPlan& plan) {
    std::vector<std::string> names = {autorun::kLauncherExeName, autorun::kSettingsFileName,
                                      autorun::kAutorunInfName, DriveIconName(plan.label)};
    if (plan.linuxSide)
        names.insert(names.end(), {autorun::kLinuxLauncherName, autorun::kLinuxScriptName,
                                   autorun::kLinuxSettingsFileName});
    return names;
}

void RequireFreeName(const fs::path& root, const fs::path& path, const std::vector<std::string>& reserved) {
    for (const std::string& name : reserved)
        if (WindowsNameKey(PathUtf16(path)) == WindowsNameKey(ToUtf16(name)))
            throw DiscError(PathText(root / path) + ": the disc's own " + name +
                            " goes there; move or remove the game's file of that name");
}

std::vector<autorun::FolderEntry> GameFolderEntries(const std::string& gameFolder, const fs::path& root) {
    std::error_code error;
    if (!fs::is_directory(autorun::SystemPath(root), error)) throw DiscError(gameFolder + ": no such folder");
    try {
        return autorun::ListFolderTree(root);
    } catch (const autorun::FolderTreeError& failure) {
        throw DiscError(PathText(root / failure.folder()) + ": cannot read the folder: " + failure.what());
    }
}

void AddGameFiles(const std::string& gameFolder, const std::vector<std::string>& reserved,
                  DiscContents& contents) {
    const fs::path root = FilePath(gameFolder);
    const fs::path absoluteRoot = autorun::AbsolutePath(root);
    std::map<std::u16string, fs::path> seen;  // Windows' key of each name, and the name
    for (const autorun::FolderEntry& entry : GameFolderEntries(gameFolder, root)) {
        const fs::path& path = entry.path;
        if (const auto problem = JolietProblem(path))
            throw DiscError(PathText(root / path) + ": " + *problem);
        const auto clash = seen.emplace(WindowsNameKey(PathUtf16(path)), path);
        if (!clash.second)
            throw DiscError(PathText(root / path) + ": Windows can't tell it from " +
                            PathText(clash.first->second) + " (names differ in case only)");
        RequireFreeName(root, path, reserved);
        if (entry.kind == autorun::EntryKind::kFolder) {
            contents.folders.push_back(path);
        } else if (entry.kind == autorun::EntryKind::kFile) {
            contents.files.push_back({path, absoluteRoot / path, {}});
        } else {
            throw DiscError(PathText(root / path) + ": neither a file nor a folder");
        }
    }
}

// The Linux launcher starts the game from the disc, so the game needs its exec bit there too.
void AddLinuxSide(const DiscPlan& plan, DiscContents& contents) {
    const LinuxPlan& side = *plan.linuxSide;
    const std::string name = Join(GameFileParts(plan.gameFolder, side.exe, "--linux-exe"), "/");
    const auto game = std::find_if(contents.files.begin(), contents.files.end(),
                                   [&](const DiscFile& file) { return PathText(file.path) == name; });
    if (game == contents.files.end())
        throw DiscError(PathText(FilePath(plan.gameFolder) / FilePath(side.exe)) +
                        ": --linux-exe must name the file by its own name, not through a link or \"..\"");
    game->executable = true;
    contents.files.push_back({autorun::kLinuxLauncherName, std::nullopt, side.launcher, true});
    contents.files.push_back(
        {autorun::kLinuxScriptName, std::nullopt, Bytes(side.script.begin(), side.script.end()), true});
    contents.files.push_back({autorun::kLinuxSettingsFileName, std::nullopt, Settings(name)});
}

// The launcher's own icon as an .ico file: Explorer shows it for the drive.
Bytes DriveIcon(const Bytes& launcher) {
    try {
        return BuildIconFile(ReadMainIcon(launcher));
    } catch (const PeFormatError& error) {
        throw DiscError(std::string(autorun::kLauncherExeName) + ": " + error.what());
    } catch (const BrandingError& error) {
        throw DiscError(std::string(autorun::kLauncherExeName) + ": " + error.what());
    }
}

}  // namespace

DiscContents LayOutDisc(const DiscPlan& plan) {
    DiscContents contents;
    contents.label = plan.label;
    AddGameFiles(plan.gameFolder, ReservedNames(plan), contents);
    const std::string name = SettingsName(plan);
    const std::string iconName = DriveIconName(plan.label);
    contents.files.push_back({autorun::kLauncherExeName, std::nullopt, plan.launcher});
    contents.files.push_back({autorun::kSettingsFileName, std::nullopt, Settings(name)});
    contents.files.push_back({iconName, std::nullopt, DriveIcon(plan.launcher)});
    contents.files.push_back(
        {autorun::kAutorunInfName, std::nullopt,
         BuildAutorunInf({autorun::kLauncherExeName, iconName, plan.label, plan.action})});
    if (plan.linuxSide) AddLinuxSide(plan, contents);
    return contents;
}

}  // namespace authoring
