#include "iso_data_source.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>

#include "folder_tree.h"

namespace authoring {
namespace {

constexpr std::streamoff kBlockSize = 2048;

struct ImageFile {
    std::filesystem::path path;
    std::unique_ptr<std::ifstream> stream;  // while open
};

ImageFile& Of(IsoDataSource* source) {
    return *static_cast<ImageFile*>(source->data);
}

int Open(IsoDataSource* source) {
    ImageFile& file = Of(source);
    return OpenIsoInput(file.stream, file.path);
}

int Close(IsoDataSource* source) {
    return CloseIsoInput(Of(source).stream);
}

int ReadBlock(IsoDataSource* source, std::uint32_t block, std::uint8_t* buffer) {
    ImageFile& file = Of(source);
    if (!file.stream) return static_cast<int>(ISO_FILE_NOT_OPENED);
    file.stream->clear();
    if (!file.stream->seekg(std::streamoff(block) * kBlockSize)) return static_cast<int>(ISO_FILE_SEEK_ERROR);
    file.stream->read(reinterpret_cast<char*>(buffer), kBlockSize);
    return file.stream->gcount() == kBlockSize ? ISO_SUCCESS : static_cast<int>(ISO_FILE_READ_ERROR);
}

void Free(IsoDataSource* source) {
    delete &Of(source);
}

}  // namespace

int OpenIsoInput(std::unique_ptr<std::ifstream>& file, const std::filesystem::path& path) {
    if (file) return static_cast<int>(ISO_FILE_ALREADY_OPENED);
    file = std::make_unique<std::ifstream>(autorun::SystemPath(path), std::ios::binary);
    if (!*file) {
        file.reset();
        return static_cast<int>(ISO_FILE_ACCESS_DENIED);
    }
    return ISO_SUCCESS;
}

int CloseIsoInput(std::unique_ptr<std::ifstream>& file) {
    if (!file) return static_cast<int>(ISO_FILE_NOT_OPENED);
    file.reset();
    return ISO_SUCCESS;
}

IsoDataSourcePtr NewIsoImageSource(const std::filesystem::path& image) {
    // libisofs frees the source itself with free() when its last reference goes.
    auto* source = static_cast<IsoDataSource*>(std::calloc(1, sizeof(IsoDataSource)));
    if (!source) throw std::bad_alloc();
    source->refcount = 1;
    source->open = Open;
    source->close = Close;
    source->read_block = ReadBlock;
    source->free_data = Free;
    try {
        source->data = new ImageFile{image, nullptr};
    } catch (...) {
        std::free(source);
        throw;
    }
    return IsoDataSourcePtr(source);
}

}  // namespace authoring
