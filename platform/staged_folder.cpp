#include "staged_folder.h"

#include <fstream>
#include <string>
#include <system_error>

#include "folder_tree.h"
#include "random_number.h"

namespace autorun {
namespace fs = std::filesystem;

namespace {

fs::path CreateSibling(const fs::path& target, const char* purpose) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path path = target;
        path += "." + std::string(purpose) + "-" + std::to_string(RandomNumber() % 1000000);
        std::error_code error;
        if (fs::create_directory(SystemPath(path), error)) return path;
        if (error) throw FileError("cannot create a folder beside it: " + error.message());
    }
    throw FileError("cannot create a folder beside it: too many left over from earlier runs");
}

}  // namespace

StagedFolder::StagedFolder(const fs::path& target, const char* purpose)
    : target_(target), path_(CreateSibling(target, purpose)) {}

StagedFolder::~StagedFolder() {
    if (!path_.empty()) RemoveFolderTree(path_);
}

void StagedFolder::CreateFolders(const fs::path& relative) {
    std::error_code error;
    fs::path folder = path_;
    for (const fs::path& part : relative) {  // one at a time: create_directories can't take \\?\ paths
        folder /= part;
        fs::create_directory(SystemPath(folder), error);
        if (error) throw FileError("cannot create the folder: " + error.message());
    }
}

void StagedFolder::WriteFile(const fs::path& relative, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(SystemPath(path_ / relative), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw FileError("cannot write the file (is the disk full?)");
}

void StagedFolder::CopyFile(const fs::path& relative, const fs::path& source) {
    std::error_code error;
    fs::copy_file(SystemPath(source), SystemPath(path_ / relative), error);
    if (error) throw FileError(error.message());
}

void StagedFolder::Commit() {
    std::error_code error;
    const fs::path target = SystemPath(target_);
    const bool exists = fs::exists(fs::symlink_status(target, error));
    if (!exists) {
        fs::rename(SystemPath(path_), target, error);
        if (error) throw FileError("cannot move the finished folder into place: " + error.message());
        path_.clear();
        return;
    }
    // The old folder steps aside into a place of its own, which goes with it once this one is in place.
    StagedFolder old(target_, "old");
    const fs::path oldPath = SystemPath(old.path_);
    fs::remove(oldPath, error);
    fs::rename(target, oldPath, error);
    if (error) throw FileError("cannot move the old folder aside: " + error.message());
    fs::rename(SystemPath(path_), target, error);
    if (error) {
        std::error_code ignored;
        fs::rename(oldPath, target, ignored);
        old.path_.clear();
        throw FileError("cannot move the finished folder into place: " + error.message());
    }
    path_.clear();
}

}  // namespace autorun
