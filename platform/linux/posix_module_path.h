#pragma once

#include <string>

namespace autorun {

// Full path of the running executable as the kernel knows it (symbolic links resolved); empty when
// /proc is not mounted.
std::string CurrentExecutablePath();

}  // namespace autorun
