#include "gui/core/Timer.h"
#include <set>
#include "gui/core/Application.h"
#include "gui/core/Events.h"

namespace gui {

namespace {
std::set<Timer*>& LiveTimers() {
  static std::set<Timer*> timers;
  return timers;
}
}  // namespace

Timer::~Timer() {
  enabled_ = false;
  Update();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (running_) {
    enabled_ = false;
    Update();
    enabled_ = true;
  }
  Update();
}

void Timer::Update() {
  HWND window = Application::Instance().UtilityWindow();
  auto id = reinterpret_cast<UINT_PTR>(this);
  if (running_) {
    KillTimer(window, id);
    LiveTimers().erase(this);
    running_ = false;
  }
  if (enabled_ && interval_ > 0) {
    running_ = SetTimer(window, id, interval_, nullptr) != 0;
    if (running_) LiveTimers().insert(this);
  }
}

void Timer::Dispatch(UINT_PTR id) {
  auto* timer = reinterpret_cast<Timer*>(id);
  if (!LiveTimers().count(timer) || !timer->enabled_ || !timer->OnTimer) return;
  try {
    Raise(timer->OnTimer);
  } catch (...) {
    Application::Instance().HandleException();
  }
}

}  // namespace gui
