// An error box for the host's tests: keeps every message instead of showing it.
#pragma once

#include <string>
#include <vector>

#include "form_host.h"

namespace autorun {

class RecordingErrorBox : public ErrorBox {
   public:
    void ShowError(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

}  // namespace autorun
