// Where the running tool lies, so that it finds the launcher shipped beside it.
#pragma once

#include <filesystem>

namespace autorun_disc {

// The folder of the tool's executable; the current folder when the system won't say.
std::filesystem::path ProgramFolder();

}  // namespace autorun_disc
