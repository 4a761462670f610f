// Whether Windows (Vista and later, with User Account Control) asks the player's consent before it
// starts a program: the program's manifest asks for administrator rights, or Windows takes it for
// an installer by its name.
#pragma once

#include <string>

#include "little_endian.h"

namespace authoring {

enum class ElevationCause {
    kNone,
    kRequireAdministrator,  // the manifest's requestedExecutionLevel
    kHighestAvailable,      // the same, for players whose account is an administrator's
    kInstallerName,         // a 32-bit program named like an installer that states no level
};

// `fileName` is the program's name on the disc, folders allowed.  A file that is no readable PE image
// gives kNone: Windows asks nothing before it fails to start it.
ElevationCause ElevationCauseOf(const Bytes& program, const std::string& fileName);

// The level attribute of the manifest's requestedExecutionLevel element, outside comments; "" when
// the manifest states none.  UTF-8 or UTF-16 (with its byte order mark).
std::string RequestedExecutionLevel(const Bytes& manifest);

// Windows' installer detection by name: "setup", "install" or "update" in any case.
bool HasInstallerName(const std::string& fileName);

}  // namespace authoring
