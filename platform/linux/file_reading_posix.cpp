#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "file_reading.h"

namespace autorun {
namespace {

class FileDescriptor {
   public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

   private:
    int fd_;
};

std::nullopt_t Failed(FileReadFailure* failure, FileReadFailure why) {
    if (failure) *failure = why;
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name, std::size_t limit,
                                                       FileReadFailure* failure) {
    const FileDescriptor file(open(name.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    // Only regular files: a FIFO or a device could make the read wait for ever or never end.
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return Failed(failure, FileReadFailure::kOpen);

    std::vector<std::uint8_t> content;
    std::uint8_t chunk[65536];
    while (content.size() < limit) {
        const ssize_t got = read(file.get(), chunk, std::min(sizeof chunk, limit - content.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Failed(failure, FileReadFailure::kRead);
        if (got == 0) break;
        content.insert(content.end(), chunk, chunk + got);
    }
    return content;
}

}  // namespace autorun
