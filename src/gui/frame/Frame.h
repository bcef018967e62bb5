#pragma once
#include "gui/core/WinControl.h"

namespace gui {

// A composite control whose constructor lays out its own controls; placed inside another control.
class Frame : public WinControl {
 public:
  explicit Frame(WinControl* parent) : WinControl(parent) {}
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  void SetConstraints(int minWidth, int minHeight) { minWidth_ = minWidth; minHeight_ = minHeight; }

 protected:
  void BoundsChanged() override {
    // Never smaller than the design size.
    if (Width() < minWidth_ || Height() < minHeight_) {
      SetBounds(Left(), Top(), Width() < minWidth_ ? minWidth_ : Width(), Height() < minHeight_ ? minHeight_ : Height());
      return;
    }
    WinControl::BoundsChanged();
  }

 private:
  int minWidth_ = 0, minHeight_ = 0;
};

}  // namespace gui
