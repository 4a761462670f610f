#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "atomic_write.h"
#include "temporary_file.h"

namespace bin2dat {
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

void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    TemporaryFile temporary;
    File file = CreateUniqueFile(path, temporary);
    const int fd = fileno(file.get());
    if (fchmod(fd, NewFileMode(path)) != 0) throw SystemError("cannot set the temporary file's permissions");
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0 || fsync(fd) != 0)
        throw SystemError("cannot write the temporary file");
    if (std::fclose(file.release()) != 0) throw SystemError("cannot write the temporary file");
    if (std::rename(temporary.path().c_str(), path.c_str()) != 0)
        throw SystemError("cannot replace it with the temporary file");
    temporary.Keep();
}

}  // namespace bin2dat
