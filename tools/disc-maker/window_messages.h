// What the disc maker's workers post to its window.
#pragma once

#include <windows.h>

namespace disc_maker {

constexpr UINT kMakeProgress = WM_APP + 1;  // wParam: the share written, in thousandths
constexpr UINT kMakeWarning = WM_APP + 2;   // lParam: a std::string, to TakePosted
constexpr UINT kMakeDone = WM_APP + 3;      // lParam: a MakeOutcome, to TakePosted
constexpr UINT kEstimateDone = WM_APP + 4;  // lParam: an Estimate, to TakePosted
constexpr UINT kFirstWorkerMessage = kMakeProgress;
constexpr UINT kLastWorkerMessage = kEstimateDone;

}  // namespace disc_maker
