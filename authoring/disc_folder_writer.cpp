#include <fstream>
#include <random>
#include <system_error>

#include "disc_output.h"
#include "text_encoding.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

// A folder beside the target, removed with everything in it unless Keep() is called.
class StagingFolder {
   public:
    StagingFolder(const fs::path& target, const char* purpose) {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = target;
            path_ += "." + std::string(purpose) + "-" + std::to_string(random() % 1000000);
            std::error_code error;
            if (fs::create_directory(path_, error)) return;
            if (error)
                throw DiscError(PathText(target) + ": cannot create a folder beside it: " + error.message());
        }
        throw DiscError(PathText(target) +
                        ": cannot create a folder beside it: too many left over from earlier runs");
    }
    ~StagingFolder() {
        if (path_.empty()) return;
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const fs::path& path() const { return path_; }
    void Keep() { path_.clear(); }

   private:
    fs::path path_;
};

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw DiscError(PathText(path) + ": cannot write the file (is the disk full?)");
}

// Windows keeps no Unix modes: there the call changes nothing that matters.
void MakeExecutable(const fs::path& path) {
    std::error_code error;
    using fs::perms;
    fs::permissions(
        path,
        perms::owner_all | perms::group_read | perms::group_exec | perms::others_read | perms::others_exec,
        error);
    if (error) throw DiscError(PathText(path) + ": cannot make the file executable: " + error.message());
}

double TotalSize(const DiscContents& contents) {
    double total = 0;
    std::error_code error;
    for (const DiscFile& file : contents.files)
        total += file.source ? double(fs::file_size(*file.source, error)) : double(file.bytes.size());
    return total;
}

void Fill(const DiscContents& contents, const fs::path& root, const Progress& progress) {
    std::error_code error;
    ProgressTenths tenths(progress, TotalSize(contents));
    for (const fs::path& folder : contents.folders) {
        fs::create_directories(root / folder, error);
        if (error)
            throw DiscError(PathText(root / folder) + ": cannot create the folder: " + error.message());
    }
    for (const DiscFile& file : contents.files) {
        const fs::path target = root / file.path;
        if (file.source) {
            fs::copy_file(*file.source, target, error);
            if (error)
                throw DiscError(PathText(target) + ": cannot copy " + PathText(*file.source) + ": " +
                                error.message());
            tenths.Add(double(fs::file_size(*file.source, error)));
        } else {
            WriteBytes(target, file.bytes);
            tenths.Add(double(file.bytes.size()));
        }
        if (file.executable) MakeExecutable(target);
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
    const fs::path target(targetName);
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(target, error));
    if (exists && !replace) throw DiscError(targetName + ": already exists; pass --force to replace it");
    StagingFolder staged(target, "partial");
    Fill(contents, staged.path(), progress);
    if (!exists) {
        fs::rename(staged.path(), target, error);
        if (error)
            throw DiscError(targetName + ": cannot move the finished folder into place: " + error.message());
        staged.Keep();
        return;
    }
    // The old folder steps aside first, so that a failure leaves it where it was.
    StagingFolder old(target, "old");
    fs::remove(old.path(), error);
    fs::rename(target, old.path(), error);
    if (error) throw DiscError(targetName + ": cannot move the old folder aside: " + error.message());
    fs::rename(staged.path(), target, error);
    if (error) {
        std::error_code ignored;
        fs::rename(old.path(), target, ignored);
        old.Keep();
        throw DiscError(targetName + ": cannot move the finished folder into place: " + error.message());
    }
    staged.Keep();
}

bool FoldersKeepUnixModes() {
#ifdef _WIN32
    return false;  // the permissions set above only clear or set the read-only attribute
#else
    return true;
#endif
}

}  // namespace authoring
