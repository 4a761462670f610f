// Names under which autorun.rc stores the resources that the program looks up by name.  Resource
// scripts give names as bare words, so autorun.rc spells them out; the unit tests load both by
// these names from a build that links the resources.
#pragma once

namespace autorun {

constexpr char kMainIconResource[] = "MAINICON";  // icon group: the application's icon
constexpr char kSplashResource[] = "SPLASH";      // RCDATA: the splash picture, a JPEG

}  // namespace autorun
