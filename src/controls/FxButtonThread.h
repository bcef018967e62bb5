#pragma once
#include <windows.h>
#include <atomic>
#include <functional>

// The fade thread of one button: every 30 ms it hands StepEvent to the GUI thread and waits until it has
// run. It starts suspended, and only the GUI thread suspends and resumes it.
class TFxButtonThread {
 public:
  explicit TFxButtonThread(std::function<void(TFxButtonThread&)> stepEvent);
  // Requests termination, wakes the thread if it is parked, and waits for it to end.
  ~TFxButtonThread();
  TFxButtonThread(const TFxButtonThread&) = delete;
  TFxButtonThread& operator=(const TFxButtonThread&) = delete;

  bool Suspended() const { return suspendCount_ > 0; }
  void Resume();
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
  int suspendCount_ = 1;  // touched by the GUI thread only
  HANDLE handle_ = nullptr;
  DWORD threadId_ = 0;
};
