// What `make --linux-exe` puts onto a disc besides the game: the Linux launcher and autorun.sh.
#pragma once

#include <optional>

#include "arguments.h"
#include "disc_layout.h"

namespace autorun_disc {

// The Linux side for `arguments`, or nothing without --linux-exe.  Throws DiscError when the Linux
// launcher is missing or is not an x86_64 Linux program.
std::optional<authoring::LinuxPlan> LinuxSide(const Arguments& arguments);

}  // namespace autorun_disc
