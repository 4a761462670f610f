#include "launcher_sources.h"

#include <cstdlib>
#include <system_error>

#include "atomic_write.h"
#include "authenticode.h"
#include "disc_contents.h"
#include "disc_file_names.h"
#include "file_reading.h"
#include "icon_from_picture.h"
#include "launcher_branding.h"
#include "launcher_signing.h"
#include "pe_image.h"
#include "splash_picture.h"
#include "folder_tree.h"
#include "text_encoding.h"

namespace authoring {
namespace {

constexpr char kPasswordVariable[] = "AUTORUN_SIGN_PASSWORD";

// The byte checks below say what is wrong without knowing the file; the file is named here, where it
// is read.
Bytes ReadInput(const std::string& path) {
    auto bytes = autorun::ReadWholeFile(FilePath(path).native());
    if (!bytes) throw DiscError(path + ": cannot read the file (missing, or not a file)");
    return std::move(*bytes);
}

Bytes Splash(const std::string& path, const AuthoringRun& run) {
    SplashPicture picture;
    try {
        picture = PrepareSplash(ReadInput(path));
    } catch (const PictureError& error) {
        throw DiscError(path + ": " + error.what());
    }
    for (const ScreenFit& fit : DescribeVisibleHeight(picture.width, picture.height))
        if (fit.cut && run.warning) run.warning(path + ": " + fit.text);
    return picture.jpeg;
}

std::vector<IconImage> Icon(const std::string& path, const AuthoringRun& run) {
    std::vector<IconImage> images;
    try {
        images = ReadIconSource(ReadInput(path));
    } catch (const IconFormatError& error) {
        throw DiscError(path + ": not a valid icon: " + error.what());
    } catch (const PictureError& error) {
        throw DiscError(path + ": " + error.what());
    }
    if (!HasXpIcon(images) && run.warning)
        run.warning(path + ": no 32 x 32 bitmap image, which Windows XP needs to show the icon");
    return images;
}

Bytes BrandedLauncher(const LauncherSources& sources, const AuthoringRun& run) {
    const std::filesystem::path path = LauncherPath(sources, run.toolFolder);
    const std::string launcherPath = PathText(path);
    std::error_code ignored;
    if (!sources.launcher && !std::filesystem::is_regular_file(autorun::SystemPath(path), ignored))
        throw DiscError(launcherPath + ": no launcher beside autorun-disc; name one with --launcher " +
                        autorun::kLauncherExeName);
    const Bytes launcher = ReadFileAt(path);
    Branding branding;
    if (sources.splash) branding.splashJpeg = Splash(*sources.splash, run);
    if (sources.icon) branding.icon = Icon(*sources.icon, run);
    if (sources.product) branding.product = ToUtf16(*sources.product);
    if (sources.company) branding.company = ToUtf16(*sources.company);
    try {
        // Even unbranded, the launcher must be one: its splash picture is what the player sees first.
        ReadSplashResource(launcher);
        return branding.Empty() ? launcher : BrandLauncher(launcher, branding);
    } catch (const PeFormatError& error) {
        throw DiscError(launcherPath + ": " + error.what());
    } catch (const BrandingError& error) {
        throw DiscError(launcherPath + ": " + error.what());
    }
}

// The first line of the file, so that an editor's final line end is no part of the password.
std::string PasswordFromFile(const std::string& path) {
    const auto bytes = autorun::ReadWholeFile(FilePath(path).native());
    if (!bytes) throw DiscError(path + ": cannot read the password file (missing, or not a file)");
    std::string text(bytes->begin(), bytes->end());
    text = text.substr(0, text.find('\n'));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

std::string Password(const SigningSources& signing) {
    if (signing.passwordFile) return PasswordFromFile(*signing.passwordFile);
    if (const char* password = std::getenv(kPasswordVariable)) return password;
    throw DiscError(*signing.pfx + ": no password: give --sign-password-file FILE or set " +
                    kPasswordVariable + " (empty for a key without one)");
}

// An unchanged launcher keeps its signature; one that no longer holds is worth a word before it ships.
void WarnOfBrokenSignature(const LauncherSources& sources, const Bytes& launcher, const AuthoringRun& run) {
    const LauncherSignature signature = ReadLauncherSignature(launcher);
    if (signature.state == LauncherSignature::State::kBroken && run.warning)
        run.warning(PathText(LauncherPath(sources, run.toolFolder)) + ": its signature does not hold (" +
                    signature.problem + "): Windows treats it as damaged; sign it again");
}

}  // namespace

std::filesystem::path LauncherPath(const LauncherSources& sources, const std::filesystem::path& toolFolder) {
    if (sources.launcher) return FilePath(*sources.launcher);
    return toolFolder / autorun::kLauncherExeName;
}

Bytes FinishedLauncher(const LauncherSources& sources, const AuthoringRun& run) {
    const SigningSources& signing = sources.signing;
    if (signing.pfx) RequireSigningSupport();
    const SigningKey key =
        signing.pfx ? SigningKey{*signing.pfx, Password(signing), signing.timestampUrl} : SigningKey{};
    const Bytes launcher = BrandedLauncher(sources, run);
    if (signing.pfx) return SignLauncher(launcher, key);
    if (!sources.Branded()) WarnOfBrokenSignature(sources, launcher, run);
    return launcher;
}

WrittenLauncher BrandLauncherFile(const BrandProject& project, const AuthoringRun& run) {
    const Bytes launcher = FinishedLauncher(project.launcher, run);
    try {
        autorun::WriteFileAtomically(FilePath(project.output), launcher);
    } catch (const autorun::FileError& error) {
        // The platform's writer says what failed without the file's name.
        throw DiscError(project.output + ": " + error.what());
    }
    return {launcher.size(), project.launcher.signing.pfx.has_value()};
}

}  // namespace authoring
