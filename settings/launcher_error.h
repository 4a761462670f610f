// The one kind of failure the launcher raises: a message for the user, reported by the window
// framework in a message box.
#pragma once

#include <stdexcept>

namespace autorun {

class LauncherError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

}  // namespace autorun
