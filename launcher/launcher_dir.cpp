#include "launcher_dir.h"

namespace autorun {

std::string DirectoryOfModule(const std::string& modulePath, const PathSyntax& syntax) {
    const auto separator = modulePath.find_last_of(syntax.separators);
    std::string directory =
        separator == std::string::npos ? std::string() : modulePath.substr(0, separator + 1);
    if (directory.empty() || directory.back() != syntax.directorySeparator)
        directory += syntax.directorySeparator;
    return directory;
}

}  // namespace autorun
