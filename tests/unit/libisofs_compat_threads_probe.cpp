#include "libisofs_compat_threads_probe.h"

#include "win32/libisofs_compat/include/pthread.h"

namespace autorun_test {
namespace {

struct Slot {
    pthread_mutex_t mutex;
    pthread_cond_t filled;
    pthread_cond_t emptied;
    bool full = false;
    int value = 0;
    int items = 0;
    void* result = nullptr;
};

void* Write(void* context) {
    auto* slot = static_cast<Slot*>(context);
    for (int item = 0; item < slot->items; ++item) {
        pthread_mutex_lock(&slot->mutex);
        while (slot->full) pthread_cond_wait(&slot->emptied, &slot->mutex);
        slot->value = item;
        slot->full = true;
        pthread_cond_signal(&slot->filled);
        pthread_mutex_unlock(&slot->mutex);
    }
    pthread_exit(slot->result);
}

}  // namespace

bool HandOverThroughOneSlot(int items, void* result) {
    Slot slot;
    slot.items = items;
    slot.result = result;
    pthread_mutex_init(&slot.mutex, nullptr);
    pthread_cond_init(&slot.filled, nullptr);
    pthread_cond_init(&slot.emptied, nullptr);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_JOINABLE);
    pthread_t writer;
    if (pthread_create(&writer, &attr, Write, &slot) != 0) return false;
    bool inOrder = true;
    for (int expected = 0; expected < items; ++expected) {
        pthread_mutex_lock(&slot.mutex);
        while (!slot.full) pthread_cond_wait(&slot.filled, &slot.mutex);
        inOrder = inOrder && slot.value == expected;
        slot.full = false;
        pthread_cond_signal(&slot.emptied);
        pthread_mutex_unlock(&slot.mutex);
    }
    void* joined = nullptr;
    const bool joinedWell = pthread_join(writer, &joined) == 0 && joined == result;
    pthread_cond_destroy(&slot.filled);
    pthread_cond_destroy(&slot.emptied);
    pthread_mutex_destroy(&slot.mutex);
    return inOrder && joinedWell;
}

bool RefusesDetachedThreads() {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    return pthread_create(&thread, &attr, Write, nullptr) != 0;
}

}  // namespace autorun_test
