#pragma once
#include <windows.h>
#include <atomic>
#include <exception>
#include <functional>
#include "win32/UniqueHandle.h"

// Runs one piece of work on a thread of its own and hands its end to the GUI thread. The destructor asks the
// work to stop (through the flag it is given) and waits for the thread, running handed-over calls meanwhile.
// Whatever the work throws is caught on its thread and kept for the GUI thread: finished still runs.
class TWorkerThread {
 public:
  // work runs on the thread; finished then runs on the GUI thread. finished must not destroy this object:
  // the thread is still returning from the hand-over then.
  TWorkerThread(std::function<void(const std::atomic<bool>& stop)> work, std::function<void()> finished);
  ~TWorkerThread();
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  void Stop() { stop_ = true; }
  bool Finished() const { return finished_; }
  // What the work threw, or null; set before finished runs.
  std::exception_ptr Failure() const { return failure_; }

 private:
  static DWORD WINAPI ThreadMain(LPVOID worker);

  std::function<void(const std::atomic<bool>&)> work_;
  std::function<void()> onFinished_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::exception_ptr failure_;
  win32::UniqueHandle thread_;
};
