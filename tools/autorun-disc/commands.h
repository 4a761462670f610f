// The commands of autorun-disc, run once the command line is understood: one library call each, and
// what it found printed.  Each throws authoring::DiscError naming the file and the problem when it
// can't do its work.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "disc_check.h"
#include "disc_project.h"

namespace autorun_disc {

// `toolFolder` holds the launchers a project does not name.
void MakeCommand(const authoring::DiscProject& project, const std::filesystem::path& toolFolder,
                 std::ostream& out, std::ostream& err);
void BrandCommand(const authoring::BrandProject& project, const std::filesystem::path& toolFolder,
                  std::ostream& out, std::ostream& err);
// Returns whether the disc would start its game.
bool CheckCommand(const std::string& target, std::ostream& out);

// One line a finding, as check shows them.
void PrintFinding(const authoring::Finding& finding, std::ostream& out);
// A warning on the error stream, as every command gives them.
void PrintWarning(const std::string& text, std::ostream& err);

}  // namespace autorun_disc
