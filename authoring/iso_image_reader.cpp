// Reading an ISO image through its Joliet tree, the names Windows shows, and the Unix modes of its Rock
// Ridge tree, which Linux goes by.
#include <algorithm>
#include <map>

#include "disc_reader.h"
#include "libisofs_handles.h"

namespace authoring {
namespace {

struct IsoStreamClose {
    void operator()(IsoStream* stream) const { iso_stream_close(stream); }
};

class IsoReader : public DiscReader {
   public:
    explicit IsoReader(const std::string& path) : path_(path) {
        EnsureLibisofs();
        IsoReadImageFeatures* features = nullptr;
        image_ = Import(true, &features);
        joliet_ = iso_read_image_features_has_joliet(features);
        iso_read_image_features_destroy(features);
        Walk(iso_image_get_root(image_.get()), "",
             [this](const std::string& path, IsoFile* file) { files_[path] = file; });
        ReadModes();
    }

    std::vector<std::filesystem::path> Files() const override {
        std::vector<std::filesystem::path> paths;
        for (const auto& file : files_) paths.push_back(file.first);
        return paths;
    }

    Bytes ReadStart(const std::filesystem::path& file, std::size_t limit) const override {
        const std::string path = file.generic_string();
        const auto found = files_.find(path);
        if (found == files_.end()) throw DiscError(path_ + ": no file " + path + " in the image");
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
    std::optional<bool> IsExecutable(const std::filesystem::path& file) const override {
        const auto found = modes_.find(file.generic_string());
        if (found == modes_.end()) return std::nullopt;
        return (found->second & 0111) != 0;
    }

   private:
    // The image's Joliet tree, or with `joliet` unset its Rock Ridge tree.
    IsoImagePtr Import(bool joliet, IsoReadImageFeatures** features) const {
        IsoDataSource* rawSource = nullptr;
        Require(iso_data_source_new_from_file(path_.c_str(), &rawSource), "cannot open the image");
        const IsoDataSourcePtr source(rawSource);
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

    void ReadModes() {
        IsoReadImageFeatures* features = nullptr;
        const IsoImagePtr image = Import(false, &features);
        const bool rockRidge = iso_read_image_features_has_rockridge(features);
        iso_read_image_features_destroy(features);
        if (!rockRidge) return;  // plain ISO 9660 names carry no modes
        Walk(iso_image_get_root(image.get()), "", [this](const std::string& path, IsoFile* file) {
            modes_[path] = iso_node_get_permissions(reinterpret_cast<IsoNode*>(file));
        });
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
    bool joliet_ = false;
};

}  // namespace

std::unique_ptr<DiscReader> ReadIsoImage(const std::string& image) {
    return std::make_unique<IsoReader>(image);
}

}  // namespace authoring
