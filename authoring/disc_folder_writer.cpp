#include <optional>
#include <system_error>
#include <vector>

#include "disc_output.h"
#include "file_dates.h"
#include "folder_tree.h"
#include "reproducible_time.h"
#include "staged_folder.h"
#include "text_encoding.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

// Windows keeps no Unix modes: there the call changes nothing that matters.
void MakeExecutable(const fs::path& path) {
    std::error_code error;
    using fs::perms;
    fs::permissions(
        autorun::SystemPath(path),
        perms::owner_all | perms::group_read | perms::group_exec | perms::others_read | perms::others_exec,
        error);
    if (error) throw DiscError(PathText(path) + ": cannot make the file executable: " + error.message());
}

double TotalSize(const DiscContents& contents) {
    double total = 0;
    std::error_code error;
    for (const DiscFile& file : contents.files)
        total += file.source ? double(fs::file_size(autorun::SystemPath(*file.source), error))
                             : double(file.bytes.size());
    return total;
}

void Fill(const DiscContents& contents, autorun::StagedFolder& staged, const Progress& progress) {
    std::error_code error;
    ProgressTenths tenths(progress, TotalSize(contents));
    for (const fs::path& folder : contents.folders) {
        try {
            staged.CreateFolders(folder);
        } catch (const autorun::FileError& failure) {
            throw DiscError(PathText(staged.path() / folder) + ": " + failure.what());
        }
    }
    for (const DiscFile& file : contents.files) {
        const fs::path target = staged.path() / file.path;
        try {
            if (file.source) {
                staged.CopyFile(file.path, *file.source);
                tenths.Add(double(fs::file_size(autorun::SystemPath(*file.source), error)));
            } else {
                staged.WriteFile(file.path, file.bytes);
                tenths.Add(double(file.bytes.size()));
            }
        } catch (const autorun::FileError& failure) {
            if (file.source)
                throw DiscError(PathText(target) + ": cannot copy " + PathText(*file.source) + ": " +
                                failure.what());
            throw DiscError(PathText(target) + ": " + failure.what());
        }
        if (file.executable) MakeExecutable(target);
    }
}

// A burning program takes the files' dates from the folder: with SOURCE_DATE_EPOCH set, the folder and
// everything in it carry that date, so that the disc it burns doesn't depend on when the folder was made.
void SetDates(const fs::path& root, std::int64_t seconds) {
    std::vector<fs::path> paths = {root};
    try {
        for (const autorun::FolderEntry& entry : autorun::ListFolderTree(root))
            paths.push_back(root / entry.path);
    } catch (const autorun::FolderTreeError& failure) {
        throw DiscError(PathText(root / failure.folder()) + ": cannot read the folder: " + failure.what());
    }
    for (const fs::path& path : paths) {
        try {
            autorun::SetModificationTime(path, seconds);
        } catch (const autorun::FileError& failure) {
            throw DiscError(PathText(path) + ": " + failure.what());
        }
    }
}

}  // namespace

void ProgressTenths::Add(double bytes) {
    done_ += bytes;
    if (!progress_ || total_ < kProgressFrom) return;
    const int tenth = int(10 * done_ / total_);
    if (tenth == lastTenth_) return;
    lastTenth_ = tenth;
    progress_(done_ / total_);
}

void WriteDiscFolder(const DiscContents& contents, const std::string& targetName, bool replace,
                     const Progress& progress) {
    const auto sourceDate = SourceDate();
    const fs::path target = FilePath(targetName);
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(autorun::SystemPath(target), error));
    if (exists && !replace) throw DiscError(targetName + ": already exists; pass --force to replace it");
    std::optional<autorun::StagedFolder> staged;
    try {
        staged.emplace(target, "partial");
    } catch (const autorun::FileError& failure) {
        throw DiscError(PathText(target) + ": " + failure.what());
    }
    Fill(contents, *staged, progress);
    if (sourceDate) SetDates(staged->path(), *sourceDate);
    try {
        staged->Commit();
    } catch (const autorun::FileError& failure) {
        throw DiscError(targetName + ": " + failure.what());
    }
}

bool FoldersKeepUnixModes() {
#ifdef _WIN32
    return false;  // the permissions set above only clear or set the read-only attribute
#else
    return true;
#endif
}

}  // namespace authoring
