// Owns a kernel handle and closes it once.
#pragma once

#include <windows.h>

namespace autorun {

class Win32Handle {
   public:
    explicit Win32Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Win32Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;

    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

   private:
    HANDLE handle_;
};

}  // namespace autorun
