#pragma once
#include <windows.h>
#include <deque>
#include <exception>
#include <vector>
#include "duplicates/WorkerPool.h"
#include "win32/UniqueHandle.h"

namespace duplicates {

// The pool on Win32 threads, a slim lock and condition variables. Should no thread start, tasks run on the
// caller's. The destructor runs what is still queued, then waits for every thread. A task that throws ends
// no thread: the first failure is kept and rethrown by the next Wait.
class Win32WorkerPool : public WorkerPool {
 public:
  explicit Win32WorkerPool(std::size_t workers);
  ~Win32WorkerPool() override;
  Win32WorkerPool(const Win32WorkerPool&) = delete;
  Win32WorkerPool& operator=(const Win32WorkerPool&) = delete;

  void Submit(std::function<void()> task) override;
  void Wait() override;

  // The processor count, bounded.
  static std::size_t DefaultWorkers();

 private:
  static DWORD WINAPI ThreadMain(LPVOID pool);
  void Work();

  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE taskReady_ = CONDITION_VARIABLE_INIT;
  CONDITION_VARIABLE roomOrIdle_ = CONDITION_VARIABLE_INIT;  // the queue shrank, or a task returned
  std::deque<std::function<void()>> queue_;
  std::size_t running_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::vector<win32::UniqueHandle> threads_;
};

}  // namespace duplicates
