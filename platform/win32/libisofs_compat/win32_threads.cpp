// POSIX threads over Win32 for libisofs's writer thread: _beginthreadex (msvcrt's, which sets up the
// C runtime for the thread), critical sections, and condition variables made of a semaphore.
#include <pthread.h>

#include <windows.h>
#include <process.h>

#include <cerrno>
#include <cstdint>
#include <climits>
#include <new>

struct autorun_thread {
    HANDLE handle = nullptr;
    void* (*start)(void*) = nullptr;
    void* argument = nullptr;
    void* result = nullptr;
};

namespace {

thread_local autorun_thread* currentThread = nullptr;

unsigned __stdcall RunThread(void* context) {
    auto* thread = static_cast<autorun_thread*>(context);
    currentThread = thread;
    thread->result = thread->start(thread->argument);
    return 0;
}

CRITICAL_SECTION* Section(pthread_mutex_t* mutex) {
    return static_cast<CRITICAL_SECTION*>(mutex->section);
}

}  // namespace

extern "C" {

int autorun_pthread_attr_init(pthread_attr_t* attr) {
    attr->detached = 0;
    return 0;
}

int autorun_pthread_attr_setdetachstate(pthread_attr_t* attr, int state) {
    if (state != PTHREAD_CREATE_JOINABLE && state != PTHREAD_CREATE_DETACHED) return EINVAL;
    attr->detached = state == PTHREAD_CREATE_DETACHED;
    return 0;
}

// Joinable threads only: libisofs joins the one it starts.
int autorun_pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*), void* arg) {
    if (attr && attr->detached) return ENOTSUP;
    auto* created = new (std::nothrow) autorun_thread;
    if (!created) return EAGAIN;
    created->start = start;
    created->argument = arg;
    const std::uintptr_t handle = _beginthreadex(nullptr, 0, RunThread, created, 0, nullptr);
    if (handle == 0) {
        delete created;
        return EAGAIN;
    }
    created->handle = reinterpret_cast<HANDLE>(handle);
    *thread = created;
    return 0;
}

int autorun_pthread_join(pthread_t thread, void** result) {
    if (WaitForSingleObject(thread->handle, INFINITE) != WAIT_OBJECT_0) return EINVAL;
    CloseHandle(thread->handle);
    if (result) *result = thread->result;
    delete thread;
    return 0;
}

void autorun_pthread_exit(void* result) {
    if (currentThread) currentThread->result = result;
    _endthreadex(0);
    for (;;) {
    }  // _endthreadex does not return
}

int autorun_pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t*) {
    auto* section = new (std::nothrow) CRITICAL_SECTION;
    if (!section) return ENOMEM;
    InitializeCriticalSection(section);
    mutex->section = section;
    return 0;
}

int autorun_pthread_mutex_destroy(pthread_mutex_t* mutex) {
    DeleteCriticalSection(Section(mutex));
    delete Section(mutex);
    mutex->section = nullptr;
    return 0;
}

int autorun_pthread_mutex_lock(pthread_mutex_t* mutex) {
    EnterCriticalSection(Section(mutex));
    return 0;
}

int autorun_pthread_mutex_unlock(pthread_mutex_t* mutex) {
    LeaveCriticalSection(Section(mutex));
    return 0;
}

int autorun_pthread_cond_init(pthread_cond_t* cond, const pthread_condattr_t*) {
    cond->semaphore = CreateSemaphoreW(nullptr, 0, LONG_MAX, nullptr);
    cond->waiters = 0;
    return cond->semaphore ? 0 : EAGAIN;
}

int autorun_pthread_cond_destroy(pthread_cond_t* cond) {
    CloseHandle(static_cast<HANDLE>(cond->semaphore));
    cond->semaphore = nullptr;
    return 0;
}

// A signal given before the waiter reaches the semaphore stays counted there, so none is lost; a
// waiter may wake without its condition being true, which POSIX allows and libisofs checks for.
int autorun_pthread_cond_wait(pthread_cond_t* cond, pthread_mutex_t* mutex) {
    ++cond->waiters;
    LeaveCriticalSection(Section(mutex));
    const DWORD waited = WaitForSingleObject(static_cast<HANDLE>(cond->semaphore), INFINITE);
    EnterCriticalSection(Section(mutex));
    return waited == WAIT_OBJECT_0 ? 0 : EINVAL;
}

// Called with the mutex held, as libisofs does.
int autorun_pthread_cond_signal(pthread_cond_t* cond) {
    if (cond->waiters == 0) return 0;
    --cond->waiters;
    return ReleaseSemaphore(static_cast<HANDLE>(cond->semaphore), 1, nullptr) ? 0 : EINVAL;
}

}  // extern "C"
