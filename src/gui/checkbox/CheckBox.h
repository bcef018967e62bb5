#pragma once
#include <functional>
#include <string>
#include "gui/core/Gdi.h"
#include "gui/core/WinControl.h"

namespace gui {

// A check box: ticked by mouse, by the space bar while focused, or by the access key after "&".
class CheckBox : public WinControl {
 public:
  explicit CheckBox(WinControl* parent);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const;
  void SetChecked(bool checked);
  bool DialogChar(char ch) override;

  std::function<void()> OnClick;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;  // a tick set before the window existed
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void FontChanged() override;

 private:
  void FitCaption();
  OwnedFont narrowed_;  // the font sent to the window, where the control's own is too wide
  std::string caption_;
  bool checked_ = false;  // kept while there is no window
};

}  // namespace gui
