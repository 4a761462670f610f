// getrandom() rather than std::random_device: the static C++ runtime of the released tools would take
// arc4random from glibc 2.36 for it, and the tools should also run on systems with glibc 2.35.
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "random_number.h"

namespace autorun {

std::uint32_t RandomNumber() {
    std::uint32_t number = 0;
    for (;;) {
        if (getrandom(&number, sizeof number, 0) == sizeof number) return number;
        if (errno != EINTR) break;
    }
    // A kernel without getrandom (before 3.17): the clock and the process still tell runs apart.
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::uint32_t(ticks) ^ std::uint32_t(ticks >> 32) ^ (std::uint32_t(getpid()) << 16);
}

}  // namespace autorun
