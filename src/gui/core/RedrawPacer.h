#pragma once
#include <windows.h>

namespace gui {

// Lets a control show a value that changes thousands of times a second at most once per interval: the
// value itself is always current, only its drawing waits. Flush shows what is still waiting.
// An interval of 0 (the default) shows every change at once.
class RedrawPacer {
 public:
  void SetInterval(DWORD milliseconds) { interval_ = milliseconds; }
  DWORD Interval() const { return interval_; }
  bool Pending() const { return pending_; }

  // Whether a change may be drawn now; when not, it is remembered as waiting.
  bool Due() {
    DWORD now = GetTickCount();
    if (interval_ == 0 || now - lastShown_ >= interval_) {
      lastShown_ = now;
      pending_ = false;
      return true;
    }
    pending_ = true;
    return false;
  }
  // Whether a change is waiting to be drawn; it counts as drawn from now on.
  bool TakePending() {
    if (!pending_) return false;
    pending_ = false;
    lastShown_ = GetTickCount();
    return true;
  }

 private:
  DWORD interval_ = 0;
  DWORD lastShown_ = 0;
  bool pending_ = false;
};

}  // namespace gui
