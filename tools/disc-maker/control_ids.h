// The disc maker's controls by ID: the window lays them out, and its test driver finds them by these.
#pragma once

namespace disc_maker {

constexpr wchar_t kWindowClass[] = L"AutorunDiscMaker";

enum ControlId : int {
    // IDOK and IDCANCEL (1 and 2) are what Enter and Esc send: Make and closing.
    kMake = 1,
    kGameFolder = 100,
    kGameFolderBrowse,
    kGameProgram,
    kLinuxProgram,
    kLinuxProgramBrowse,
    kSplash,
    kSplashBrowse,
    kIcon,
    kIconBrowse,
    kLabel,
    kProduct,
    kCompany,
    kOutputIso,
    kOutputFolder,
    kReplace,
    kOutput,
    kOutputBrowse,
    kMedium,
    kGauge,
    kGaugeText,
    kPreview,
    kScreen4x3,
    kScreen16x10,
    kScreen16x9,
    kSplashProblem,
    kProgress,
    kStatus,
    kFindings,
    kOpenProject,
    kSaveProjectAs,
    kCommand,
    kCopyCommand,
    kSaveProject,       // Ctrl+S: no control of its own, it saves where the project was opened or saved
    kFirstLabel = 200,  // the static labels, numbered in order
};

}  // namespace disc_maker
