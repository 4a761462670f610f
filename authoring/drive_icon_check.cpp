#include "drive_icon_check.h"

#include <cctype>

#include "icon_file.h"
#include "text_encoding.h"

namespace authoring {
namespace {

bool IsIconFile(const std::string& name) {
    const std::string extension = ".ico";
    if (name.size() < extension.size()) return false;
    for (std::size_t i = 0; i < extension.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - extension.size() + i])) !=
            extension[i])
            return false;
    return true;
}

// icon= may quote the file and follow it with ",N", the index of an icon inside it.
std::string IconFileOf(const std::string& value) {
    std::string file = value.substr(0, value.rfind(','));
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    return file;
}

}  // namespace

void CheckDriveIcon(const DiscReader& disc, const std::map<std::string, std::string>& keys,
                    std::vector<Finding>& findings) {
    const auto icon = keys.find("icon");
    if (icon == keys.end()) {
        findings.push_back(
            {Finding::kWarning, "autorun.inf names no icon=: Explorer shows a plain drive icon"});
        return;
    }
    const std::string file = IconFileOf(icon->second);
    const auto found = disc.Find(file);
    if (!found) {
        findings.push_back({Finding::kWarning, "autorun.inf's icon " + file + " is not on the disc"});
        return;
    }
    if (!IsIconFile(file)) {
        findings.push_back({Finding::kNote, "the drive's icon comes from " + PathText(*found) +
                                                ": Explorer caches it by that name, so after a disc "
                                                "with the same icon= it may show the previous disc's icon"});
        return;
    }
    try {
        const auto images = ReadIconFile(disc.Read(*found));
        findings.push_back({Finding::kGood, "the drive's icon " + PathText(*found) + " holds " +
                                                std::to_string(images.size()) + " image(s)"});
    } catch (const IconFormatError& error) {
        findings.push_back({Finding::kWarning,
                            PathText(*found) + ": Explorer can't show the drive's icon: " + error.what()});
    } catch (const DiscError& error) {
        findings.push_back({Finding::kWarning, error.what()});
    }
}

}  // namespace authoring
