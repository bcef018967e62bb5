#pragma once
#include <string>
#include "gui/core/GraphicControl.h"
#include "gui/core/RedrawPacer.h"

namespace gui {

// A line of text without a window of its own, drawn transparently in its font's colour.
// With AutoSize (the default) it takes the size of its text in its font.
class Label : public GraphicControl {
 public:
  explicit Label(WinControl* parent, const std::string& caption = "");

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);

  // Redraws a new caption at most once per interval (0: at once); Flush redraws the one still waiting.
  void SetRedrawInterval(DWORD milliseconds) { pacer_.SetInterval(milliseconds); }
  void Flush();

  void Paint(Canvas& canvas) override;
  AccessibleRole Role() const override { return AccessibleRole::StaticText; }
  std::string AccessibleName() const override { return caption_; }

 protected:
  void FontChanged() override;

 private:
  void AdjustSize();

  std::string caption_;
  bool autoSize_ = true;
  RedrawPacer pacer_;
};

}  // namespace gui
