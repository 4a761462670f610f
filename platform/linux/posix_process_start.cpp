#include "posix_process_start.h"

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include "posix_spawn_objects.h"

extern char** environ;

namespace autorun {

void StartDetachedProcess(const std::string& executablePath) {
    // Children of a process that ignores SIGCHLD are reaped by the kernel.  The game gets the
    // default disposition back, since an ignored signal would otherwise stay ignored across exec.
    signal(SIGCHLD, SIG_IGN);
    SpawnAttributes attributes;
    sigset_t toDefault, unblocked;
    sigemptyset(&toDefault);
    sigaddset(&toDefault, SIGCHLD);
    sigemptyset(&unblocked);
    posix_spawnattr_setsigdefault(attributes.get(), &toDefault);
    posix_spawnattr_setsigmask(attributes.get(), &unblocked);
    // A session of its own: the game keeps running when the launcher's terminal or session ends.
    posix_spawnattr_setflags(attributes.get(),
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    char* const arguments[] = {const_cast<char*>(executablePath.c_str()), nullptr};
    pid_t started;
    posix_spawn(&started, executablePath.c_str(), nullptr, attributes.get(), arguments, environ);
}

}  // namespace autorun
