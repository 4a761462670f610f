// Text of the message boxes that report an error raised by an event handler or a main window that
// could not be made.
#pragma once

#include <string>

namespace autorun {

inline constexpr char kApplicationTitle[] = "Autorun";

// The message with a full stop appended when its last byte sorts after "." (so "...bin2.dat"
// gets one, while "...done." or "...?" keep their own ending).
std::string WithFullStop(const std::string& message);

// The one line that says the main window could not be made, with the system's reason when it
// gave one.
std::string CannotCreateWindowMessage(const std::string& reason);

}  // namespace autorun
