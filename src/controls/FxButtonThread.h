#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include "win32/UniqueHandle.h"

// The fade thread of one button: every 30 ms it hands StepEvent to the GUI thread and waits until it has
// run. It starts parked, and only the GUI thread parks and wakes it: parked, it waits on an event, so it
// never stops while holding a lock of the heap or of the hand-over queue.
class TFxButtonThread {
 public:
  explicit TFxButtonThread(std::function<void(TFxButtonThread&)> stepEvent);
  // Requests termination, wakes the thread if it is parked, and waits for it to end.
  ~TFxButtonThread();
  TFxButtonThread(const TFxButtonThread&) = delete;
  TFxButtonThread& operator=(const TFxButtonThread&) = delete;

  bool Suspended() const { return parked_; }
  void Resume();
  // Parks the thread once the step that is running has returned.
  void Suspend();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until the thread has ended, running calls handed to the GUI thread meanwhile so that a tick
  // already on its way cannot deadlock us.
  void WaitFor();
  bool Finished() const;
  DWORD ThreadId() const { return threadId_; }

 private:
  static DWORD WINAPI Entry(LPVOID self);
  void Execute();

  std::function<void(TFxButtonThread&)> stepEvent_;
  std::atomic<bool> terminated_{false};
  bool parked_ = true;  // touched by the GUI thread only
  win32::UniqueHandle running_;  // manual-reset: set while the thread may tick
  win32::UniqueHandle handle_;
  DWORD threadId_ = 0;
};
