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
  SendMessageA(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageA(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

int ProgressBar::Min() const {
  if (!HandleAllocated()) return min_;
  return static_cast<int>(SendMessageA(HandleIfAllocated(), PBM_GETRANGE, TRUE, 0));
}

int ProgressBar::Max() const {
  if (!HandleAllocated()) return max_;
  return static_cast<int>(SendMessageA(HandleIfAllocated(), PBM_GETRANGE, FALSE, 0));
}

void ProgressBar::SetMin(int min) { SetRange(min, std::max(min, max_)); }
void ProgressBar::SetMax(int max) { SetRange(std::min(min_, max), max); }

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  if (HandleAllocated()) {
    SendMessageA(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  }
}

int ProgressBar::Position() const {
  if (!HandleAllocated() || pacer_.Pending()) return position_;
  return static_cast<int>(SendMessageA(HandleIfAllocated(), PBM_GETPOS, 0, 0));
}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  if (HandleAllocated() && pacer_.Due()) ShowPosition();
}

void ProgressBar::Flush() {
  if (pacer_.TakePending() && HandleAllocated()) ShowPosition();
}

void ProgressBar::ShowPosition() {
  SendMessageA(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace gui
