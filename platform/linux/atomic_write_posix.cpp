#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "atomic_write.h"
#include "temporary_file.h"

namespace autorun {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FileError SystemError(const std::string& what) {
    const int code = errno;
    return FileError(what + ": " + std::strerror(code));
}

// A replacement keeps the permissions of the file it replaces; a new file gets what the umask
// allows, as if it had been created in place.  mkstemp alone would leave it readable by its owner only.
mode_t NewFileMode(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

File CreateUniqueFile(const std::string& path, TemporaryFile& temporary) {
    temporary.SetPath(path + ".XXXXXX");
    const int fd = mkstemp(&temporary.path()[0]);
    if (fd < 0) throw SystemError("cannot create a temporary file beside it");
    temporary.Own();
    File file(fdopen(fd, "wb"), &std::fclose);
    if (!file) {
        close(fd);
        throw SystemError("cannot open the temporary file");
    }
    return file;
}

}  // namespace

struct AtomicFileWriter::State {
    std::string path;
    TemporaryFile temporary;  // declared before the file: removed only after the file is closed
    File file{nullptr, &std::fclose};
};

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& path) : AtomicFileWriter(path.native()) {}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : state_(new State) {
    state_->path = path;
    state_->file = CreateUniqueFile(path, state_->temporary);
    if (fchmod(fileno(state_->file.get()), NewFileMode(path)) != 0)
        throw SystemError("cannot set the temporary file's permissions");
}

AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::Write(const std::uint8_t* bytes, std::size_t size) {
    if (std::fwrite(bytes, 1, size, state_->file.get()) != size)
        throw SystemError("cannot write the temporary file");
}

void AtomicFileWriter::Commit() {
    std::FILE* file = state_->file.get();
    if (std::fflush(file) != 0 || fsync(fileno(file)) != 0)
        throw SystemError("cannot write the temporary file");
    if (std::fclose(state_->file.release()) != 0) throw SystemError("cannot write the temporary file");
    if (std::rename(state_->temporary.path().c_str(), state_->path.c_str()) != 0)
        throw SystemError("cannot replace it with the temporary file");
    state_->temporary.Keep();
}

}  // namespace autorun
