#include "staged_folder.h"

#include <fstream>
#include <string>
#include <system_error>

#include "random_number.h"

namespace autorun {
namespace fs = std::filesystem;

namespace {

fs::path CreateSibling(const fs::path& target, const char* purpose) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path path = target;
        path += "." + std::string(purpose) + "-" + std::to_string(RandomNumber() % 1000000);
        std::error_code error;
        if (fs::create_directory(path, error)) return path;
        if (error) throw FileError("cannot create a folder beside it: " + error.message());
    }
    throw FileError("cannot create a folder beside it: too many left over from earlier runs");
}

}  // namespace

StagedFolder::StagedFolder(const fs::path& target, const char* purpose)
    : target_(target), path_(CreateSibling(target, purpose)) {}

StagedFolder::~StagedFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void StagedFolder::CreateFolders(const fs::path& relative) {
    std::error_code error;
    fs::create_directories(path_ / relative, error);
    if (error) throw FileError("cannot create the folder: " + error.message());
}

void StagedFolder::WriteFile(const fs::path& relative, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path_ / relative, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw FileError("cannot write the file (is the disk full?)");
}

void StagedFolder::CopyFile(const fs::path& relative, const fs::path& source) {
    std::error_code error;
    fs::copy_file(source, path_ / relative, error);
    if (error) throw FileError(error.message());
}

void StagedFolder::Commit() {
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(target_, error));
    if (!exists) {
        fs::rename(path_, target_, error);
        if (error) throw FileError("cannot move the finished folder into place: " + error.message());
        path_.clear();
        return;
    }
    // The old folder steps aside into a place of its own, which goes with it once this one is in place.
    StagedFolder old(target_, "old");
    fs::remove(old.path_, error);
    fs::rename(target_, old.path_, error);
    if (error) throw FileError("cannot move the old folder aside: " + error.message());
    fs::rename(path_, target_, error);
    if (error) {
        std::error_code ignored;
        fs::rename(old.path_, target_, ignored);
        old.path_.clear();
        throw FileError("cannot move the finished folder into place: " + error.message());
    }
    path_.clear();
}

}  // namespace autorun
