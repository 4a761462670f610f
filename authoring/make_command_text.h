// The `autorun-disc make ...` command that makes the same disc as a project, for an author to copy.
#pragma once

#include <string>
#include <vector>

#include "disc_project.h"

namespace authoring {

// The command's words, the program's name first, in a fixed order: every option the project sets,
// and nothing for what it leaves unset (a project without a game gives a command without --game).
std::vector<std::string> MakeCommandArguments(const DiscProject& project);

// Those words quoted for the system's own command prompt: cmd.exe on Windows, a POSIX shell
// elsewhere.  The text is in the system's encoding, as the project's texts are: names with
// non-ASCII characters stay as they are.
std::string MakeCommandText(const DiscProject& project);

}  // namespace authoring
