#include "file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name) {
    const FileDescriptor file(open(name.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;

    std::vector<std::uint8_t> content;
    std::uint8_t chunk[4096];
    for (;;) {
        const ssize_t got = read(file.get(), chunk, sizeof chunk);
        if (got < 0) return std::nullopt;
        if (got == 0) return content;
        content.insert(content.end(), chunk, chunk + got);
    }
}

}  // namespace autorun
