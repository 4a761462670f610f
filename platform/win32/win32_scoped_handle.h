// Owner of one handle of any kind that a single call frees: GDI objects, DCs, modules, hooks,
// windows.  Kernel handles have Win32Handle, which also knows INVALID_HANDLE_VALUE.
#pragma once

namespace autorun {

// Gives the handle to `Free` once, unless it is null.
template <typename Handle, typename Free>
class ScopedHandle {
   public:
    explicit ScopedHandle(Handle handle, Free free = Free()) : handle_(handle), free_(free) {}
    ~ScopedHandle() {
        if (handle_) free_(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    Handle get() const { return handle_; }

   private:
    Handle handle_;
    Free free_;
};

}  // namespace autorun
