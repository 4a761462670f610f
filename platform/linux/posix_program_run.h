// Running a helper program to its end and keeping what it printed, for the authoring tool's steps that
// another program does (signing).
#pragma once

#include <string>
#include <vector>

namespace autorun {

struct ProgramRun {
    int startError = 0;   // errno when the program could not be started (ENOENT: not installed)
    int exitStatus = -1;  // its exit status; -1 when a signal ended it or it never started
    std::string output;   // standard output and standard error, interleaved as written
};

// Runs `arguments[0]`, looked up in PATH, with `arguments` as its argument vector (no shell), standard
// input from /dev/null, and waits for it.
ProgramRun RunProgram(const std::vector<std::string>& arguments);

// A folder only its owner can enter (mode 0700), removed with everything in it on destruction.
class PrivateFolder {
   public:
    PrivateFolder();  // throws std::runtime_error
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }

   private:
    std::string path_;
};

// Creates `path` for its owner alone (mode 0600; a umask can only narrow it) and writes `text` into it.
// Throws std::runtime_error.
void WritePrivateFile(const std::string& path, const std::string& text);

}  // namespace autorun
