// The rules that give the directory the launcher's executable lies in; the game is started from there.
#pragma once

#include <string>

namespace autorun {

struct PathSyntax {
    const char* separators;   // characters after which a file name begins
    char directorySeparator;  // the one a directory ends with
};

inline constexpr PathSyntax kWindowsPaths = {"\\:", '\\'};  // "D:" alone names a directory too
inline constexpr PathSyntax kPosixPaths = {"/", '/'};

// Everything up to and including the last separator of `modulePath`, with the directory
// separator appended when the result doesn't already end with one ("D:" gives "D:\").
std::string DirectoryOfModule(const std::string& modulePath, const PathSyntax& syntax);

}  // namespace autorun
