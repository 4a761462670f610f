#include "error_report.h"

namespace autorun {

std::string WithFullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
    return message;
}

std::string CannotCreateWindowMessage(const std::string& reason) {
    const std::string message = "Cannot create the window";
    return reason.empty() ? message : message + ": " + reason;
}

}  // namespace autorun
