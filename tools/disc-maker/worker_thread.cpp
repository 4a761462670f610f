#include "worker_thread.h"

namespace disc_maker {

WorkerThread::WorkerThread(std::function<void()> work)
    : work_(std::make_unique<std::function<void()>>(std::move(work))),
      thread_(CreateThread(nullptr, 0, &WorkerThread::Run, work_.get(), 0, nullptr)) {}

WorkerThread::~WorkerThread() {
    if (thread_.valid()) WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI WorkerThread::Run(void* work) {
    (*static_cast<std::function<void()>*>(work))();
    return 0;
}

}  // namespace disc_maker
