// What the form asks of Linux rather than of its window: the launcher's path, POSIX path rules,
// bin2lnx.dat, and the game's start.
#pragma once

#include <string>
#include <utility>

#include "form_system.h"

namespace autorun {

class PosixFormSystem : public FormSystem {
   public:
    // `modulePath` is the launcher's path as the form is to see it.
    explicit PosixFormSystem(std::string modulePath) : modulePath_(std::move(modulePath)) {}

    std::string ModuleFileName() override { return modulePath_; }
    PathSyntax PathRules() override { return kPosixPaths; }
    std::string SettingsFileName() override;
    // Names on Linux discs are taken byte for byte, as the file system stores them.
    std::string PathFromSettingsText(const std::string& text) override { return text; }
    void StartProcess(const std::string& executablePath) override;

   private:
    std::string modulePath_;
};

}  // namespace autorun
