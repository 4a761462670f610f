// autorun.inf: what Windows reads from a disc's root before anything runs.
#pragma once

#include <map>
#include <string>

#include "little_endian.h"

namespace authoring {

struct AutorunInf {
    std::string open;    // the program AutoPlay starts, relative to the root
    std::string icon;    // the file whose first icon stands for the disc
    std::string label;   // the disc's name in Explorer
    std::string action;  // the AutoPlay dialog's text for starting the program
};

// In the ANSI code page when it holds every text, else in UTF-16 with a byte order mark, which
// Windows XP and later read too.  Lines end in CR LF.
Bytes BuildAutorunInf(const AutorunInf& inf);

// The keys of the [autorun] section, in lower case, with their values in the system's encoding.
// Nothing when the file has no such section.
std::map<std::string, std::string> ParseAutorunInf(const Bytes& file);

}  // namespace authoring
