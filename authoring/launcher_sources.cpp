#include "branding_inputs.h"

#include <system_error>

#include "disc_contents.h"
#include "disc_file_names.h"
#include "file_reading.h"
#include "icon_file.h"
#include "pe_image.h"
#include "program_location.h"
#include "splash_picture.h"
#include "text_encoding.h"

namespace autorun_disc {
namespace {

using authoring::Bytes;
using authoring::DiscError;

Bytes ReadInput(const std::string& path) {
    auto bytes = autorun::ReadWholeFile(path);
    if (!bytes) throw DiscError(path + ": cannot read the file (missing, or not a file)");
    return std::move(*bytes);
}

Bytes Splash(const std::string& path, std::ostream& warnings) {
    try {
        const authoring::SplashPicture picture = authoring::PrepareSplash(ReadInput(path));
        for (const authoring::ScreenFit& fit :
             authoring::DescribeVisibleHeight(picture.width, picture.height))
            if (fit.cut) warnings << "autorun-disc: warning: " << path << ": " << fit.text << '\n';
        return picture.jpeg;
    } catch (const authoring::PictureError& error) {
        throw DiscError(path + ": " + error.what());
    }
}

std::vector<authoring::IconImage> Icon(const std::string& path, std::ostream& warnings) {
    try {
        auto images = authoring::ReadIconFile(ReadInput(path));
        if (!authoring::HasXpIcon(images))
            warnings << "autorun-disc: warning: " << path
                     << ": no 32 x 32 bitmap image, which Windows XP needs to show the icon\n";
        return images;
    } catch (const authoring::IconFormatError& error) {
        throw DiscError(path + ": not a valid icon: " + error.what());
    }
}

}  // namespace

std::filesystem::path LauncherPath(const Branding& options) {
    if (options.launcher) return *options.launcher;
    return ProgramFolder() / autorun::kLauncherExeName;
}

Bytes BrandedLauncher(const Branding& options, std::ostream& warnings) {
    const std::filesystem::path path = LauncherPath(options);
    const std::string launcherPath = authoring::PathText(path);
    std::error_code error;
    if (!options.launcher && !std::filesystem::is_regular_file(path, error))
        throw DiscError(launcherPath + ": no launcher beside autorun-disc; name one with --launcher " +
                        autorun::kLauncherExeName);
    const Bytes launcher = authoring::ReadFileAt(path);
    authoring::Branding branding;
    if (options.splash) branding.splashJpeg = Splash(*options.splash, warnings);
    if (options.icon) branding.icon = Icon(*options.icon, warnings);
    if (options.product) branding.product = authoring::ToUtf16(*options.product);
    if (options.company) branding.company = authoring::ToUtf16(*options.company);
    try {
        // Even unbranded, the launcher must be one: its splash picture is what the player sees first.
        authoring::ReadSplashResource(launcher);
        return branding.Empty() ? launcher : authoring::BrandLauncher(launcher, branding);
    } catch (const authoring::PeFormatError& error) {
        throw DiscError(launcherPath + ": " + error.what());
    } catch (const authoring::BrandingError& error) {
        throw DiscError(launcherPath + ": " + error.what());
    }
}

}  // namespace autorun_disc
