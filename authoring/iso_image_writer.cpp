// Writing a disc as an ISO 9660 image with libisofs: Joliet names for Windows, Rock Ridge for the rest.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "atomic_write.h"
#include "disc_media.h"
#include "disc_names.h"
#include "disc_output.h"
#include "iso_file_stream.h"
#include "iso_source_date.h"
#include "libisofs_handles.h"
#include "reproducible_time.h"
#include "folder_tree.h"
#include "text_encoding.h"

namespace authoring {
namespace {

// Level 2 gives ISO 9660 names of up to 31 characters to readers that know neither extension; level 3
// adds files stored in several extents, which macOS and FreeBSD don't read, so it is used only when a
// file needs it and images without such files stay as they were.
int IsoLevel(const DiscContents& contents) {
    for (const DiscFile& file : contents.files)
        if (DiscFileSize(file) > kLargestSingleExtentFile) return 3;
    return 2;
}

// A game file as it was when the image was laid out.  libisofs fills a file that shrinks while it is
// read with zeros and reports nothing, so an image is kept only when every file is as it was.
struct SourceState {
    std::filesystem::path path;
    std::uintmax_t size;
    std::filesystem::file_time_type time;
    bool operator==(const SourceState&) const = default;
};

std::optional<SourceState> StateOf(const std::filesystem::path& path) {
    std::error_code sizeError, timeError;
    const std::filesystem::path systemPath = autorun::SystemPath(path);
    SourceState state{path, std::filesystem::file_size(systemPath, sizeError),
                      std::filesystem::last_write_time(systemPath, timeError)};
    if (sizeError || timeError) return std::nullopt;
    return state;
}

std::vector<SourceState> SourceStates(const DiscContents& contents) {
    std::vector<SourceState> states;
    for (const DiscFile& file : contents.files) {
        if (!file.source) continue;
        const auto state = StateOf(*file.source);
        if (!state) throw DiscError(PathText(*file.source) + ": cannot read the file's size");
        states.push_back(*state);
    }
    return states;
}

void RequireUnchanged(const std::vector<SourceState>& states, const std::string& target) {
    for (const SourceState& state : states)
        if (StateOf(state.path) != state)
            throw DiscError(
                target + ": " + PathText(state.path) +
                " changed while the image was written; make the disc again once nothing writes to "
                "the game folder");
}

// Rock Ridge modes: everyone may read every file, and run the Linux programs.
constexpr mode_t kFileMode = 0444;
constexpr mode_t kExecutableMode = 0755;

class ImageBuilder {
   public:
    ImageBuilder(const DiscContents& contents, const std::string& target) : target_(target) {
        IsoImage* image = nullptr;
        Require(iso_image_new(VolumeIdFromLabel(contents.label).c_str(), &image), "cannot start the image");
        image_.reset(image);
        folders_[""] = iso_image_get_root(image_.get());
        for (const std::filesystem::path& folder : contents.folders) AddFolder(PathUtf8(folder));
        for (const DiscFile& file : contents.files) AddFile(file);
    }

    IsoImage* image() const { return image_.get(); }
    const ReadFailure& readFailure() const { return readFailure_; }

   private:
    void Require(int result, const std::string& what) const {
        if (result < 0) throw DiscError(target_ + ": " + what + ": " + IsoFailure(result));
    }

    static std::pair<std::string, std::string> Split(const std::string& path) {
        const auto slash = path.rfind('/');
        if (slash == std::string::npos) return {"", path};
        return {path.substr(0, slash), path.substr(slash + 1)};
    }

    IsoDir* Parent(const std::string& path) {
        const auto found = folders_.find(Split(path).first);
        if (found == folders_.end()) AddFolder(Split(path).first);
        return folders_.at(Split(path).first);
    }

    void AddFolder(const std::string& path) {
        if (folders_.count(path)) return;
        IsoDir* parent = Parent(path);
        IsoDir* dir = nullptr;
        Require(iso_tree_add_new_dir(parent, Split(path).second.c_str(), &dir),
                "cannot add the folder " + path);
        folders_[path] = dir;
    }

    void AddFile(const DiscFile& file) {
        const std::string path = PathUtf8(file.path);
        IsoDir* parent = Parent(path);
        const std::string name = Split(path).second;
        if (file.source) {
            AddStream(parent, name, NewIsoFileStream(*file.source, DiscFileSize(file), readFailure_), file);
            return;
        }
        // The stream owns a malloc'd copy of the bytes and frees it with the image.
        unsigned char* copy =
            static_cast<unsigned char*>(std::malloc(std::max<std::size_t>(file.bytes.size(), 1)));
        if (!copy) throw DiscError(target_ + ": out of memory");
        std::memcpy(copy, file.bytes.data(), file.bytes.size());
        IsoStream* stream = nullptr;
        const int made = iso_memory_stream_new(copy, file.bytes.size(), &stream);
        if (made < 0) std::free(copy);
        Require(made, "cannot add " + path);
        AddStream(parent, name, stream, file);
    }

    // Takes over the caller's reference to `stream`.  A game file keeps its modification time (libisofs
    // gives a new file the present time).
    void AddStream(IsoDir* parent, const std::string& name, IsoStream* stream, const DiscFile& file) {
        IsoFile* added = nullptr;
        const int result = iso_tree_add_new_file(parent, name.c_str(), stream, &added);
        if (result < 0) iso_stream_unref(stream);
        Require(result, "cannot add " + PathText(file.source ? *file.source : file.path));
        auto* node = reinterpret_cast<IsoNode*>(added);
        if (file.source) SetTimes(node, *file.source);
        SetMode(node, file);
    }

    static void SetTimes(IsoNode* node, const std::filesystem::path& source) {
        std::error_code error;
        const auto written = std::filesystem::last_write_time(autorun::SystemPath(source), error);
        if (error) return;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
            std::chrono::file_clock::to_sys(written).time_since_epoch());
        const time_t time = time_t(seconds.count());
        iso_node_set_mtime(node, time);
        iso_node_set_atime(node, time);
        iso_node_set_ctime(node, time);
    }

    static void SetMode(IsoNode* node, const DiscFile& file) {
        iso_node_set_permissions(node, file.executable ? kExecutableMode : kFileMode);
    }

    std::string target_;
    ReadFailure readFailure_ = std::make_shared<std::string>();
    IsoImagePtr image_;
    std::map<std::string, IsoDir*> folders_;  // owned by image_
};

IsoWriteOptsPtr WriteOptions(const std::string& target, int level) {
    IsoWriteOpts* raw = nullptr;
    const int result = iso_write_opts_new(&raw, 0);
    if (result < 0) throw DiscError(target + ": cannot set up the image: " + IsoMessage(result));
    IsoWriteOptsPtr opts(raw);
    iso_write_opts_set_iso_level(opts.get(), level);
    iso_write_opts_set_rockridge(opts.get(), 1);
    iso_write_opts_set_joliet(opts.get(), 1);
    // A disc's files are for everyone to read, whoever owned them on the author's machine; file modes
    // are set on each file as it is added, since some must stay executable.
    iso_write_opts_set_replace_mode(opts.get(), 1, 0, 1, 1);
    iso_write_opts_set_default_dir_mode(opts.get(), 0555);
    iso_write_opts_set_default_uid(opts.get(), 0);
    iso_write_opts_set_default_gid(opts.get(), 0);
    // The files' data in the order libisofs keeps them by identity (the order they were added, the
    // tool's own files first): its sorting by weight, all equal here, would leave the order to each C
    // library's qsort, and Windows' differs from Linux's.
    iso_write_opts_set_sort_files(opts.get(), 0);
    return opts;
}

void Stream(burn_source* source, autorun::AtomicFileWriter& out, const Progress& progress,
            const std::string& target) {
    ProgressTenths tenths(progress, double(source->get_size(source)));
    unsigned char sector[kSectorBytes];
    for (;;) {
        const int count = source->read_xt(source, sector, int(sizeof sector));
        if (count < 0) throw DiscError(target + ": cannot build the image: " + IsoFailure(count));
        if (count == 0) break;
        out.Write(sector, std::size_t(count));
        tenths.Add(count);
    }
}

}  // namespace

std::uint64_t WriteDiscIso(const DiscContents& contents, const std::string& target, bool replace,
                           const Progress& progress, const SizeCheck& checkSize) {
    const auto sourceDate = SourceDate();
    const std::filesystem::path targetPath = autorun::SystemPath(FilePath(target));
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(targetPath, error)) && !replace)
        throw DiscError(target + ": already exists; pass --force to replace it");
    if (std::filesystem::is_directory(targetPath, error)) throw DiscError(target + ": is a folder");
    EnsureLibisofs();
    TakeIsoFailureText();  // an earlier image's failures are no account of this one's
    const std::vector<SourceState> states = SourceStates(contents);
    ImageBuilder builder(contents, target);
    const IsoWriteOptsPtr opts = WriteOptions(target, IsoLevel(contents));
    ApplySourceDate(opts.get(), sourceDate);
    burn_source* raw = nullptr;
    const int result = iso_image_create_burn_source(builder.image(), opts.get(), &raw);
    if (result < 0) throw DiscError(target + ": cannot build the image: " + IsoFailure(result));
    const BurnSourcePtr source(raw);
    const std::uint64_t sectors = SectorsFor(std::uint64_t(source->get_size(source.get())));
    try {
        if (checkSize) checkSize(sectors);
    } catch (...) {
        source->cancel(source.get());
        throw;
    }
    try {
        autorun::AtomicFileWriter out(FilePath(target));
        Stream(source.get(), out, progress, target);
        if (!builder.readFailure()->empty()) throw DiscError(*builder.readFailure());
        RequireUnchanged(states, target);
        out.Commit();
    } catch (const autorun::FileError& failure) {
        // The platform's writer says what failed without the file's name.
        source->cancel(source.get());
        throw DiscError(target + ": " + failure.what());
    } catch (...) {
        source->cancel(source.get());
        throw;
    }
    return sectors;
}

}  // namespace authoring
