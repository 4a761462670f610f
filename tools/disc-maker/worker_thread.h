// A thread of the window's own: the win32 thread model has no std::thread, so CreateThread behind RAII.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "win32_handle.h"

namespace disc_maker {

// Runs `work` on a new thread; the destructor waits for it to return.  `work` must not throw.
class WorkerThread {
   public:
    explicit WorkerThread(std::function<void()> work);
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool Started() const { return thread_.valid(); }

   private:
    static DWORD WINAPI Run(void* work);
    std::unique_ptr<std::function<void()>> work_;
    autorun::Win32Handle thread_;
};

// An object handed from a worker to the window through a posted message: the window takes it back
// with TakePosted; when the message can't be posted it is freed here.
template <typename T>
void PostOwned(HWND window, UINT message, std::unique_ptr<T> object) {
    if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(object.get()))) object.release();
}

template <typename T>
std::unique_ptr<T> TakePosted(LPARAM lParam) {
    return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}

}  // namespace disc_maker
