// Text of the message box that reports an error raised by an event handler.
#pragma once

#include <string>

namespace autorun {

inline constexpr char kApplicationTitle[] = "Autorun";

// The message with a full stop appended when its last byte sorts after "." (so "...bin2.dat"
// gets one, while "...done." or "...?" keep their own ending).
std::string WithFullStop(const std::string& message);

}  // namespace autorun
