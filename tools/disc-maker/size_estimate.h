// How much of a medium the disc will take, worked out on a worker thread: the game folder is walked
// and the launcher branded, which must not hold up typing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "disc_project.h"
#include "worker_thread.h"

namespace disc_maker {

struct Estimate {
    std::uint64_t sectors = 0;
    std::string error;  // why there is none, when sectors is 0
};

// Posts kEstimateDone with an Estimate to `window` once done.
class SizeEstimate {
   public:
    SizeEstimate(HWND window, authoring::DiscProject project, std::filesystem::path toolFolder);
    // False when no thread could be made: nothing will be posted then.
    bool Started() const { return thread_.Started(); }

   private:
    void Run();

    HWND window_;
    authoring::DiscProject project_;
    std::filesystem::path toolFolder_;
    WorkerThread thread_;  // last: joined before the rest goes
};

}  // namespace disc_maker
