// A disc project kept as a file, so that a disc can be made again months later, by the window or by
// `autorun-disc make --project FILE`.
//
// The file is UTF-8 JSON, written with its keys in a fixed order and a 2-space indent, so that a
// project under version control diffs cleanly:
//
//   {
//     "format": "autorun-disc project",
//     "version": 1,
//     "game": "MyGame",                  the game folder
//     "exe": "game.exe",                 inside the game folder, as --exe takes it
//     "linuxExe": "bin/game.sh",
//     "linuxLauncher": "autorun",
//     "label": "My Game",
//     "launcher": { "file": ..., "splash": ..., "icon": ..., "product": ..., "company": ... },
//     "signing": { "key": "studio.pfx", "passwordFile": "studio.pass", "timestampUrl": ... },
//     "media": "dvd",
//     "output": { "kind": "iso" or "folder", "path": "mygame.iso", "replace": false }
//   }
//
// Only "format" and "version" must be there: a project saved before its game or output was chosen
// is still a project, and `make` asks for what it lacks.  What is not set is left out; a group with
// nothing set is left out whole.  The signing key's password is never stored (its file's path is).
//
// Paths: a relative path in the file is relative to the folder the project file is in, whatever the
// current directory.  Writing stores a path that lies in that folder or below it relative to it,
// with "/" separators (so a project kept beside its game survives a move, and a project written on
// Windows reads on Linux), and any other path absolute.  "exe" and "linuxExe" are paths inside the
// game folder and are stored as they are.  Reading gives relative paths joined to the project
// file's folder as its path was given, "." and ".." taken out as writing does.
//
// Reading refuses, with one line naming the file: text that is not UTF-8, text that is not JSON
// (with its line and column), an unknown or repeated key (a typo must not make a different disc in
// silence), a value of the wrong type or outside its choices, a missing "format" or "version", and a
// version this tool does not know.
#pragma once

#include <filesystem>

#include "disc_project.h"

namespace authoring {

// Throws DiscError naming the file and the problem.
DiscProject ReadProjectFile(const std::filesystem::path& file);

// Replaces the file whole or not at all.  Throws DiscError.
void WriteProjectFile(const DiscProject& project, const std::filesystem::path& file);

}  // namespace authoring
