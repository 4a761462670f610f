// A failure that carries a message for the user in what().  Derived from std::exception rather
// than std::runtime_error: runtime_error keeps its text in the runtime's copy-on-write string,
// whose code (with its unwind tables, about 45 KB) would come into the shipped launcher for that
// one use, ahead of the splash on every start from a slow disc.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace autorun {

class MessageError : public std::exception {
   public:
    explicit MessageError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

   private:
    std::string message_;
};

}  // namespace autorun
