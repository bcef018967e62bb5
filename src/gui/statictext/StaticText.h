#pragma once
#include <string>
#include "gui/core/WinControl.h"

namespace gui {

// Text that wraps its words inside a fixed box, on its own background colour.
class StaticText : public WinControl {
 public:
  explicit StaticText(WinControl* parent);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The parent's colour shows behind the text unless a colour of its own is given.
  void SetParentColor(bool parentColor);
  AccessibleRole Role() const override { return AccessibleRole::StaticText; }
  std::string AccessibleName() const override { return caption_; }

 protected:
  void FillCreateParams(CreateParams& params) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::string caption_;
  bool parentColor_ = true;
};

}  // namespace gui
