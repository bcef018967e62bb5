#include "duplicates/win32/Win32WorkerPool.h"
#include <utility>

namespace duplicates {

Win32WorkerPool::Win32WorkerPool(std::size_t workers) {
  threads_.reserve(workers);
  for (std::size_t i = 0; i < workers; ++i) {
    HANDLE thread = CreateThread(nullptr, 64 * 1024, ThreadMain, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) break;  // fewer workers still work; none runs tasks on the caller's thread
    threads_.emplace_back(thread);
  }
}

Win32WorkerPool::~Win32WorkerPool() {
  AcquireSRWLockExclusive(&lock_);
  stopping_ = true;
  ReleaseSRWLockExclusive(&lock_);
  WakeAllConditionVariable(&taskReady_);
  for (const win32::UniqueHandle& thread : threads_) WaitForSingleObject(thread.get(), INFINITE);
}

std::size_t Win32WorkerPool::DefaultWorkers() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return WorkerCountFor(info.dwNumberOfProcessors);
}

void Win32WorkerPool::Submit(std::function<void()> task) {
  if (threads_.empty()) {
    task();
    return;
  }
  AcquireSRWLockExclusive(&lock_);
  while (queue_.size() >= kQueueLimit) SleepConditionVariableSRW(&roomOrIdle_, &lock_, INFINITE, 0);
  queue_.push_back(std::move(task));
  ReleaseSRWLockExclusive(&lock_);
  WakeConditionVariable(&taskReady_);
}

void Win32WorkerPool::Wait() {
  AcquireSRWLockExclusive(&lock_);
  while (!queue_.empty() || running_ > 0) SleepConditionVariableSRW(&roomOrIdle_, &lock_, INFINITE, 0);
  std::exception_ptr failure = std::exchange(failure_, nullptr);
  ReleaseSRWLockExclusive(&lock_);
  if (failure) std::rethrow_exception(failure);
}

DWORD WINAPI Win32WorkerPool::ThreadMain(LPVOID pool) {
  static_cast<Win32WorkerPool*>(pool)->Work();
  return 0;
}

void Win32WorkerPool::Work() {
  AcquireSRWLockExclusive(&lock_);
  for (;;) {
    while (!stopping_ && queue_.empty()) SleepConditionVariableSRW(&taskReady_, &lock_, INFINITE, 0);
    if (queue_.empty()) break;  // stopping, and nothing left to run
    std::function<void()> task = std::move(queue_.front());
    queue_.pop_front();
    ++running_;
    ReleaseSRWLockExclusive(&lock_);
    std::exception_ptr failure;
    try {
      task();
    } catch (...) {
      failure = std::current_exception();  // for the thread that waits, not the end of the program
    }
    AcquireSRWLockExclusive(&lock_);
    if (failure && !failure_) failure_ = failure;
    --running_;
    WakeAllConditionVariable(&roomOrIdle_);
  }
  ReleaseSRWLockExclusive(&lock_);
}

}  // namespace duplicates
