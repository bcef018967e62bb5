#pragma once
#include "gui/core/RedrawPacer.h"
#include "gui/core/WinControl.h"

namespace gui {

// A smooth progress bar with a 32-bit range. The position always lies within the range.
class ProgressBar : public WinControl {
 public:
  explicit ProgressBar(WinControl* parent);

  int Min() const;
  int Max() const;
  void SetMin(int min);
  void SetMax(int max);
  void SetRange(int min, int max);

  int Position() const;   // as the bar holds it
  void SetPosition(int position);

  // Draws a new position at most once per interval (0: at once); Flush draws the one still waiting.
  void SetRedrawInterval(DWORD milliseconds) { pacer_.SetInterval(milliseconds); }
  void Flush();

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;

 private:
  void ShowPosition();
  int min_ = 0, max_ = 100, position_ = 0;
  RedrawPacer pacer_;
};

}  // namespace gui
