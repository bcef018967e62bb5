#pragma once
#include <windows.h>
#include <functional>

namespace gui {

// A GUI-thread timer: OnTimer runs every Interval milliseconds while Enabled.
class Timer {
 public:
  Timer() = default;
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT interval);

  std::function<void()> OnTimer;

  static void Dispatch(UINT_PTR id);  // WM_TIMER of the application's utility window

 private:
  void Update();
  bool enabled_ = true;
  UINT interval_ = 1000;
  bool running_ = false;
};

}  // namespace gui
