// The system's own words for an error code, for messages that say why a call failed.
#pragma once

#include <windows.h>

#include <string>

namespace autorun {

// The text for `code` in the user's language, without its closing full stop and line break;
// "error N" when the system has none.
std::string SystemMessage(DWORD code);

}  // namespace autorun
