// What the main window's handlers ask of the operating system rather than of their window: where
// the launcher lies, how its paths are written, which settings file it reads, and starting the game.
#pragma once

#include <string>

#include "launcher_dir.h"

namespace autorun {

// Paths are 8-bit text in the platform's own path encoding: UTF-8 on Windows (turned into UTF-16
// at the system calls, so that no path is limited to the ANSI code page) and the file system's
// bytes, unchanged, on Linux.
class FormSystem {
   public:
    virtual ~FormSystem() = default;

    // Full path of the running executable.
    virtual std::string ModuleFileName() = 0;
    // How the platform's paths separate directories.
    virtual PathSyntax PathRules() = 0;
    // Settings file of this platform's launcher, relative to the current directory.
    virtual std::string SettingsFileName() = 0;
    // The game's name as the settings file stores it, turned into a path.
    virtual std::string PathFromSettingsText(const std::string& text) = 0;
    // Starts the executable with its own path as its command line, without waiting for it;
    // failures are ignored.
    virtual void StartProcess(const std::string& executablePath) = 0;
};

}  // namespace autorun
