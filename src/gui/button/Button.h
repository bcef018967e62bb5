#pragma once
#include <functional>
#include <string>
#include <vector>
#include "gui/core/WinControl.h"

namespace gui {

// A push button. Clicked by mouse, space bar, its access key after "&", and by Enter while focused.
// Esc on any button of a window clicks that window's cancel button; Tab moves on as between any tab stops.
// The focused button shows the default frame; with none focused, the default button shows it.
class Button : public WinControl {
 public:
  explicit Button(WinControl* parent, const std::string& caption = "");

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool isCancel) { cancel_ = isCancel; }

  void Click();  // runs OnClick when the button is enabled and showing
  bool DialogChar(char ch) override;

  AccessibleRole Role() const override { return AccessibleRole::PushButton; }
  std::string AccessibleName() const override;
  std::string AccessibleShortcut() const override;
  std::string AccessibleDefaultAction() const override { return "Press"; }
  void DoAccessibleDefaultAction() override;

  std::function<void()> OnClick;

 protected:
  void FillCreateParams(CreateParams& params) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::vector<Button*> ButtonsOfParent() const;
  void ShowDefaultFrame(bool on);

  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace gui
