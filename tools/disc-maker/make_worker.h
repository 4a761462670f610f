// MakeDisc on a worker thread: progress and warnings posted to the window as they come, the outcome
// at the end, and a cancel that takes effect at the make's next report.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "disc_authoring.h"
#include "worker_thread.h"

namespace disc_maker {

struct MakeOutcome {
    enum class End { kMade, kFailed, kCancelled };
    End end = End::kFailed;
    authoring::MadeDisc made;
    std::string error;   // the line the command line prints, without its program name
    std::string output;  // what was to be written, as the project named it
    bool folder = false;
};

class MakeWorker {
   public:
    // Posts kMakeProgress, kMakeWarning and, last, kMakeDone to `window`.
    MakeWorker(HWND window, authoring::DiscProject project, std::filesystem::path toolFolder);
    // Waits for the make to end; Cancel first to make that quick.
    ~MakeWorker() = default;

    void Cancel() { cancel_ = true; }
    // False when no thread could be made: nothing will be posted then.
    bool Started() const { return thread_.Started(); }

   private:
    void Run();
    void ThrowIfCancelled() const;

    HWND window_;
    authoring::DiscProject project_;
    std::filesystem::path toolFolder_;
    std::atomic<bool> cancel_{false};
    WorkerThread thread_;  // last: starts once the rest exists and is joined before the rest goes
};

}  // namespace disc_maker
