// The launcher as it goes out: branded when asked, then signed when asked.
#pragma once

#include <ostream>

#include "arguments.h"
#include "launcher_branding.h"

namespace autorun_disc {

// Throws authoring::DiscError naming the file and the problem; nothing is written here.
authoring::Bytes FinishedLauncher(const Arguments& arguments, std::ostream& warnings);

}  // namespace autorun_disc
