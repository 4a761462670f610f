#include "disc_reader.h"

#include <system_error>

#include "disc_names.h"
#include "folder_tree.h"
#include "text_encoding.h"

namespace authoring {
namespace {

std::string JoinParts(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) path += (path.empty() ? "" : "/") + part;
    return path;
}

class ContentsReader : public DiscReader {
   public:
    ContentsReader(const DiscContents& contents, bool asFolder) : contents_(contents), asFolder_(asFolder) {}

    std::vector<std::filesystem::path> Files() const override {
        std::vector<std::filesystem::path> paths;
        for (const DiscFile& file : contents_.files) paths.push_back(file.path);
        return paths;
    }
    Bytes ReadStart(const std::filesystem::path& path, std::size_t limit) const override {
        for (const DiscFile& file : contents_.files)
            if (file.path == path) return ReadDiscFile(file, limit);
        throw DiscError(PathText(path) + ": no such file on the disc");
    }
    bool IsFolder() const override { return asFolder_; }
    std::optional<bool> IsExecutable(const std::filesystem::path& path) const override {
        for (const DiscFile& file : contents_.files)
            if (file.path == path) return file.executable;
        return std::nullopt;
    }
    std::string VolumeId() const override { return asFolder_ ? "" : VolumeIdFromLabel(contents_.label); }

   private:
    const DiscContents& contents_;
    bool asFolder_;
};

class FolderReader : public DiscReader {
   public:
    explicit FolderReader(const std::string& folder) : root_(FilePath(folder)) {
        std::error_code error;
        if (!std::filesystem::is_directory(autorun::SystemPath(root_), error))
            throw DiscError(folder + ": not a folder");
        try {
            for (const autorun::FolderEntry& entry : autorun::ListFolderTree(root_))
                if (entry.kind == autorun::EntryKind::kFile) files_.push_back(entry.path);
        } catch (const autorun::FolderTreeError& failure) {
            throw DiscError(PathText(root_ / failure.folder()) +
                            ": cannot read the folder: " + failure.what());
        }
    }

    std::vector<std::filesystem::path> Files() const override { return files_; }
    Bytes ReadStart(const std::filesystem::path& path, std::size_t limit) const override {
        return ReadFileAt(root_ / path, limit);
    }
    bool IsFolder() const override { return true; }
    std::optional<bool> IsExecutable(const std::filesystem::path& path) const override {
#ifdef _WIN32
        (void)path;
        return std::nullopt;
#else
        using std::filesystem::perms;
        std::error_code error;
        const perms mode = std::filesystem::status(autorun::SystemPath(root_ / path), error).permissions();
        if (error) return std::nullopt;
        return (mode & (perms::owner_exec | perms::group_exec | perms::others_exec)) != perms::none;
#endif
    }

   private:
    std::filesystem::path root_;
    std::vector<std::filesystem::path> files_;
};

}  // namespace

std::optional<std::filesystem::path> DiscReader::Find(const std::string& path) const {
    const auto parts = SplitDiscPath(path);
    if (!parts) return std::nullopt;
    return Find(ToUtf16(JoinParts(*parts)));
}

std::optional<std::filesystem::path> DiscReader::Find(const std::u16string& path) const {
    const std::u16string wanted = WindowsNameKey(path);
    for (const std::filesystem::path& file : Files())
        if (WindowsNameKey(PathUtf16(file)) == wanted) return file;
    return std::nullopt;
}

bool DiscReader::HasExactly(const std::filesystem::path& path) const {
    const std::u16string wanted = PathUtf16(path);
    for (const std::filesystem::path& file : Files())
        if (PathUtf16(file) == wanted) return true;
    return false;
}

std::unique_ptr<DiscReader> ReadContents(const DiscContents& contents, bool asFolder) {
    return std::make_unique<ContentsReader>(contents, asFolder);
}

std::unique_ptr<DiscReader> ReadFolder(const std::string& folder) {
    return std::make_unique<FolderReader>(folder);
}

}  // namespace authoring
