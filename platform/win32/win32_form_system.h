// What the form asks of Windows rather than of its window: the launcher's path, Windows' path rules,
// bin2.dat, and the game's start.
#pragma once

#include <windows.h>

#include "form_system.h"

namespace autorun {

class Win32FormSystem : public FormSystem {
   public:
    // The window that owns the consent prompt of a game that needs elevation.
    void SetPromptOwner(HWND owner) { promptOwner_ = owner; }

    std::string ModuleFileName() override;
    PathSyntax PathRules() override { return kWindowsPaths; }
    std::string SettingsFileName() override;
    // The settings file holds the name in the system's ANSI code page.
    std::string PathFromSettingsText(const std::string& text) override;
    void StartProcess(const std::string& executablePath) override;

   private:
    HWND promptOwner_ = nullptr;
};

}  // namespace autorun
