#include "iso_file_stream.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>

#include "disc_contents.h"
#include "iso_data_source.h"
#include "text_encoding.h"

namespace authoring {
namespace {

// struct iso_stream as libisofs.h declares it for C only ("class" is a C++ keyword); libisofs frees
// it with free() when its last reference goes.
struct StreamRecord {
    IsoStreamIface* iface;
    int refcount;
    void* data;
};

struct FileStream {
    std::filesystem::path path;
    off_t size;
    ino_t serial;
    ReadFailure failure;
    std::unique_ptr<std::ifstream> file;  // while open
};

int Failed(FileStream& data, unsigned int code) {
    if (data.failure->empty()) *data.failure = PathText(data.path) + ": cannot read the file";
    return static_cast<int>(code);
}

// Identities no libisofs file system uses (its own are 1 to 5).
constexpr unsigned int kFileSystemId = 0x41525446;

FileStream& Of(IsoStream* stream) {
    return *static_cast<FileStream*>(reinterpret_cast<StreamRecord*>(stream)->data);
}

int Open(IsoStream* stream) {
    FileStream& data = Of(stream);
    const int result = OpenIsoInput(data.file, data.path);
    return result == static_cast<int>(ISO_FILE_ACCESS_DENIED) ? Failed(data, ISO_FILE_ACCESS_DENIED) : result;
}

int Close(IsoStream* stream) {
    return CloseIsoInput(Of(stream).file);
}

off_t Size(IsoStream* stream) {
    return Of(stream).size;
}

int Read(IsoStream* stream, void* buffer, size_t count) {
    FileStream& data = Of(stream);
    if (!data.file) return static_cast<int>(ISO_FILE_NOT_OPENED);
    data.file->read(static_cast<char*>(buffer), std::streamsize(count));
    if (data.file->bad()) return Failed(data, ISO_FILE_READ_ERROR);
    return int(data.file->gcount());
}

int IsRepeatable(IsoStream*) {
    return 1;
}

void Identity(IsoStream* stream, unsigned int* fileSystem, dev_t* device, ino_t* inode) {
    *fileSystem = kFileSystemId;
    *device = 0;
    *inode = Of(stream).serial;
}

void Free(IsoStream* stream) {
    delete &Of(stream);
}

int UpdateSize(IsoStream*) {
    return ISO_SUCCESS;  // the size stays as laid out; a file that changes fails the image afterwards
}

IsoStreamIface kFileStreamClass = {
    1,    {'u', 's', 'e', 'r'}, Open,    Close,   Size,   Read, IsRepeatable, Identity,
    Free, UpdateSize,           nullptr, nullptr, nullptr};

}  // namespace

IsoStream* NewIsoFileStream(const std::filesystem::path& path, std::uint64_t size,
                            const ReadFailure& failure) {
    static ino_t serial = 0;
    auto* record = static_cast<StreamRecord*>(std::malloc(sizeof(StreamRecord)));
    auto* data = new (std::nothrow) FileStream{path, off_t(size), ++serial, failure, nullptr};
    if (!record || !data) {
        std::free(record);
        delete data;
        throw DiscError(PathText(path) + ": out of memory");
    }
    *record = {&kFileStreamClass, 1, data};
    return reinterpret_cast<IsoStream*>(record);
}

}  // namespace authoring
