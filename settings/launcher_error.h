// The one kind of failure the launcher raises: a message for the user, reported by the window
// framework in a message box.
#pragma once

#include "message_error.h"

namespace autorun {

class LauncherError : public MessageError {
   public:
    using MessageError::MessageError;
};

}  // namespace autorun
