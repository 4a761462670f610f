/* The few POSIX thread calls libisofs makes (one writer thread, a mutex-guarded buffer, two condition
   variables), over Win32 threads for the MinGW build.  The shipped tool uses the win32 thread model:
   MinGW's own winpthreads imports GetTickCount64, which Windows XP lacks.  The names are our own, so
   that builds linking winpthreads too (the posix thread model's unit tests) see no clash.
   The condition variables are for one waiter at a time, signalled with the mutex held: libisofs's
   ring buffer, whose reader and writer each wait on their own. */
#ifndef AUTORUN_PTHREAD_H
#define AUTORUN_PTHREAD_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct autorun_thread* pthread_t;
typedef struct {
    int detached;
} pthread_attr_t;
typedef struct {
    void* section; /* a CRITICAL_SECTION, allocated by pthread_mutex_init */
} pthread_mutex_t;
typedef struct {
    void* semaphore; /* a semaphore HANDLE */
    int waiters;     /* guarded by the mutex that the waiters hold */
} pthread_cond_t;
typedef int pthread_mutexattr_t;
typedef int pthread_condattr_t;

#define PTHREAD_CREATE_JOINABLE 0
#define PTHREAD_CREATE_DETACHED 1

int autorun_pthread_attr_init(pthread_attr_t* attr);
int autorun_pthread_attr_setdetachstate(pthread_attr_t* attr, int state);
int autorun_pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*), void* arg);
int autorun_pthread_join(pthread_t thread, void** result);
void autorun_pthread_exit(void* result) __attribute__((noreturn));
int autorun_pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t* attr);
int autorun_pthread_mutex_destroy(pthread_mutex_t* mutex);
int autorun_pthread_mutex_lock(pthread_mutex_t* mutex);
int autorun_pthread_mutex_unlock(pthread_mutex_t* mutex);
int autorun_pthread_cond_init(pthread_cond_t* cond, const pthread_condattr_t* attr);
int autorun_pthread_cond_destroy(pthread_cond_t* cond);
int autorun_pthread_cond_wait(pthread_cond_t* cond, pthread_mutex_t* mutex);
int autorun_pthread_cond_signal(pthread_cond_t* cond);

#define pthread_attr_init autorun_pthread_attr_init
#define pthread_attr_setdetachstate autorun_pthread_attr_setdetachstate
#define pthread_create autorun_pthread_create
#define pthread_join autorun_pthread_join
#define pthread_exit autorun_pthread_exit
#define pthread_mutex_init autorun_pthread_mutex_init
#define pthread_mutex_destroy autorun_pthread_mutex_destroy
#define pthread_mutex_lock autorun_pthread_mutex_lock
#define pthread_mutex_unlock autorun_pthread_mutex_unlock
#define pthread_cond_init autorun_pthread_cond_init
#define pthread_cond_destroy autorun_pthread_cond_destroy
#define pthread_cond_wait autorun_pthread_cond_wait
#define pthread_cond_signal autorun_pthread_cond_signal

#ifdef __cplusplus
}
#endif

#endif
