#include "posix_module_path.h"

#include <unistd.h>

namespace autorun {

std::string CurrentExecutablePath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", &path[0], path.size());
        if (length < 0) return {};
        // readlink cuts silently: only a result shorter than the buffer is known to be whole.
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace autorun
