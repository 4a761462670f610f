// Reading an ISO image through its Joliet tree, the names Windows shows, and the Unix modes of its Rock
// Ridge tree, which Linux goes by.
#include <algorithm>
#include <cstdlib>
#include <map>

#include "disc_reader.h"
#include "iso_data_source.h"
#include "libisofs_handles.h"
#include "text_encoding.h"

namespace authoring {
namespace {

struct IsoStreamClose {
    void operator()(IsoStream* stream) const { iso_stream_close(stream); }
};
struct SectionsFree {
    void operator()(iso_file_section* sections) const { std::free(sections); }
};

class IsoReader : public DiscReader {
   public:
    explicit IsoReader(const std::string& path) : path_(path) {
        EnsureLibisofs();
        IsoReadImageFeatures* features = nullptr;
        image_ = Import(true, &features);
        joliet_ = iso_read_image_features_has_joliet(features);
        sectors_ = iso_read_image_features_get_size(features);
        iso_read_image_features_destroy(features);
        Walk(iso_image_get_root(image_.get()), "", [this](const std::string& name, IsoFile* file) {
            files_[name] = file;
            if (auto stored = Stored(file, name))
                split_.push_back({PathFromUtf8(name), std::move(*stored), std::nullopt});
        });
        ReadRockRidgeTree();
    }

    std::vector<std::filesystem::path> Files() const override {
        std::vector<std::filesystem::path> paths;
        for (const auto& file : files_) paths.push_back(PathFromUtf8(file.first));
        return paths;
    }

    Bytes ReadStart(const std::filesystem::path& file, std::size_t limit) const override {
        const std::string path = PathUtf8(file);
        const auto found = files_.find(path);
        if (found == files_.end()) throw DiscError(path_ + ": no file " + PathText(file) + " in the image");
        IsoStream* stream = iso_file_get_stream(found->second);
        Require(iso_stream_open(stream), "cannot read " + path);
        const std::unique_ptr<IsoStream, IsoStreamClose> close(stream);
        Bytes bytes;
        unsigned char buffer[65536];
        while (bytes.size() < limit) {
            const int count = iso_stream_read(stream, buffer, std::min(sizeof buffer, limit - bytes.size()));
            if (count < 0) Require(count, "cannot read " + path);
            if (count <= 0) break;
            bytes.insert(bytes.end(), buffer, buffer + count);
        }
        return bytes;
    }

    bool IsFolder() const override { return false; }
    std::string VolumeId() const override {
        const char* id = iso_image_get_volume_id(image_.get());
        return id ? id : "";
    }
    bool HasWindowsNames() const override { return joliet_; }
    std::vector<SplitFile> SplitFiles() const override { return split_; }
    std::uint64_t ImageSectors() const override { return sectors_; }
    std::optional<bool> IsExecutable(const std::filesystem::path& file) const override {
        const auto found = modes_.find(PathUtf8(file));
        if (found == modes_.end()) return std::nullopt;
        return (found->second & 0111) != 0;
    }

   private:
    // The image's Joliet tree, or with `joliet` unset its Rock Ridge tree.
    IsoImagePtr Import(bool joliet, IsoReadImageFeatures** features) const {
        const IsoDataSourcePtr source = NewIsoImageSource(FilePath(path_));
        IsoReadOpts* rawOpts = nullptr;
        Require(iso_read_opts_new(&rawOpts, 0), "cannot read the image");
        const IsoReadOptsPtr opts(rawOpts);
        iso_read_opts_set_no_rockridge(opts.get(), joliet ? 1 : 0);
        iso_read_opts_set_no_joliet(opts.get(), joliet ? 0 : 1);
        iso_read_opts_set_preferjoliet(opts.get(), joliet ? 1 : 0);
        IsoImage* rawImage = nullptr;
        Require(iso_image_new("", &rawImage), "cannot read the image");
        IsoImagePtr image(rawImage);
        Require(iso_image_import(image.get(), source.get(), opts.get(), features),
                "not a readable ISO 9660 image");
        return image;
    }

    // The Unix modes, and the ISO 9660 directory records of the files split into extents, found by
    // their Rock Ridge names; plain ISO 9660 names carry no modes and don't match the Joliet ones.
    void ReadRockRidgeTree() {
        IsoReadImageFeatures* features = nullptr;
        const IsoImagePtr image = Import(false, &features);
        const bool rockRidge = iso_read_image_features_has_rockridge(features);
        iso_read_image_features_destroy(features);
        if (!rockRidge) return;
        std::map<std::string, StoredFile> split;
        Walk(iso_image_get_root(image.get()), "", [&](const std::string& path, IsoFile* file) {
            modes_[path] = iso_node_get_permissions(reinterpret_cast<IsoNode*>(file));
            if (auto stored = Stored(file, path)) split.emplace(path, std::move(*stored));
        });
        for (SplitFile& file : split_) {
            auto found = split.find(PathUtf8(file.path));
            if (found != split.end()) file.iso9660 = std::move(found->second);
        }
    }

    // Where the image keeps a file that it stores in more than one extent.
    std::optional<StoredFile> Stored(IsoFile* file, const std::string& path) const {
        int count = 0;
        iso_file_section* sections = nullptr;
        Require(iso_file_get_old_image_sections(file, &count, &sections, 0),
                "cannot read where " + path + " lies");
        const std::unique_ptr<iso_file_section, SectionsFree> owned(sections);
        if (count < 2) return std::nullopt;
        StoredFile stored{std::uint64_t(iso_file_get_size(file)), {}};
        for (int at = 0; at < count; ++at) stored.extents.push_back({sections[at].block, sections[at].size});
        return stored;
    }

    void Require(int result, const std::string& what) const {
        if (result < 0) throw DiscError(path_ + ": " + what + ": " + IsoMessage(result));
    }

    // Calls `visit` with each file's path from the root.
    template <typename Visit>
    void Walk(IsoDir* dir, const std::string& prefix, const Visit& visit) const {
        IsoDirIter* rawIterator = nullptr;
        Require(iso_dir_get_children(dir, &rawIterator), "cannot list a folder");
        const IsoDirIterPtr iterator(rawIterator);
        IsoNode* node = nullptr;
        while (iso_dir_iter_next(iterator.get(), &node) == 1) {
            const std::string path = prefix + iso_node_get_name(node);
            if (ISO_NODE_IS_DIR(node)) Walk(reinterpret_cast<IsoDir*>(node), path + "/", visit);
            if (ISO_NODE_IS_FILE(node)) visit(path, reinterpret_cast<IsoFile*>(node));
        }
    }

    std::string path_;
    IsoImagePtr image_;
    std::map<std::string, IsoFile*> files_;  // owned by image_
    std::map<std::string, mode_t> modes_;    // by Rock Ridge name
    std::vector<SplitFile> split_;
    std::uint64_t sectors_ = 0;
    bool joliet_ = false;
};

}  // namespace

std::unique_ptr<DiscReader> ReadIsoImage(const std::string& image) {
    return std::make_unique<IsoReader>(image);
}

}  // namespace authoring
