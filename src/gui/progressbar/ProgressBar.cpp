#include "gui/progressbar/ProgressBar.h"
#include <commctrl.h>
#include <algorithm>

namespace gui {

ProgressBar::ProgressBar(WinControl* parent) : WinControl(parent) { SetBounds(0, 0, 150, 16); }

void ProgressBar::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = PROGRESS_CLASSA;
  params.style |= PBS_SMOOTH;
}

void ProgressBar::HandleCreated() {
  SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// Range and position are kept here exactly as the window holds them (every change passes through
// SetRange and SetPosition), so reading them asks the window nothing: the extraction reads them at
// every step.
int ProgressBar::Min() const { return min_; }
int ProgressBar::Max() const { return max_; }

void ProgressBar::SetMin(int min) { SetRange(min, std::max(min, max_)); }
void ProgressBar::SetMax(int max) { SetRange(std::min(min_, max), max); }

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  if (HandleAllocated()) {
    SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  }
}

int ProgressBar::Position() const { return position_; }

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  if (HandleAllocated() && pacer_.Due()) ShowPosition();
}

void ProgressBar::Flush() {
  if (pacer_.TakePending() && HandleAllocated()) ShowPosition();
}

void ProgressBar::ShowPosition() {
  SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace gui
