// The commands of autorun-disc, run once the command line is understood.  Each throws
// authoring::DiscError naming the file and the problem when it can't do its work.
#pragma once

#include <ostream>

#include "arguments.h"

namespace autorun_disc {

void MakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);
void BrandCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);
// Returns whether the disc would start its game.
bool CheckCommand(const Arguments& arguments, std::ostream& out);

}  // namespace autorun_disc
