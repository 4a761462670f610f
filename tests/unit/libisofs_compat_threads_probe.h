// The Win32 stand-in for POSIX threads, driven from a file of its own: its pthread.h and MinGW's, which
// GoogleTest's build includes, can't share a translation unit.
#pragma once

namespace autorun_test {

// A writer thread hands `items` numbers to the caller through a one-slot buffer guarded by the
// stand-in's mutex and condition variables, as libisofs's ring buffer does, then ends with
// pthread_exit(`result`); returns whether every number arrived in order and the join gave `result`.
bool HandOverThroughOneSlot(int items, void* result);

// Whether a detached thread is refused (libisofs starts joinable ones only).
bool RefusesDetachedThreads();

}  // namespace autorun_test
