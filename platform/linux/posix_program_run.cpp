#include "posix_program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "posix_spawn_objects.h"

extern char** environ;

namespace autorun {
namespace {

class Descriptor {
   public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

   private:
    int fd_;
};

std::runtime_error SystemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

std::string ReadToEnd(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, std::size_t(got));
        } else if (got == 0 || errno != EINTR) {
            return text;
        }
    }
}

int WaitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& arguments) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return {errno, -1, {}};
    Descriptor reading(ends[0]), writing(ends[1]);

    SpawnFileActions actions;
    posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.get(), writing.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.get(), writing.get(), STDERR_FILENO);

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int error = posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), environ);
    if (error != 0) return {error, -1, {}};
    writing.Close();  // the child's copy is the only writer left: EOF comes when it ends

    ProgramRun run;
    run.output = ReadToEnd(reading.get());
    run.exitStatus = WaitFor(child);
    return run;
}

PrivateFolder::PrivateFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/autorun-disc.XXXXXX";
    if (!mkdtemp(pattern.data())) throw SystemError("cannot create a temporary folder in " + pattern);
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WritePrivateFile(const std::string& path, const std::string& text) {
    Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (file.get() < 0) throw SystemError("cannot create " + path);
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t put = write(file.get(), text.data() + at, text.size() - at);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) throw SystemError("cannot write " + path);
        at += std::size_t(put);
    }
}

}  // namespace autorun
