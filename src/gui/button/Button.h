#pragma once
#include <functional>
#include <string>
#include "gui/core/WinControl.h"

namespace gui {

// A system push button: clicked by mouse, by the space bar while focused, or by the access key after "&".
class Button : public WinControl {
 public:
  explicit Button(WinControl* parent, const std::string& caption = "");
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool DialogChar(char ch) override;

  std::function<void()> OnClick;

 protected:
  void FillCreateParams(CreateParams& params) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::string caption_;
};

}  // namespace gui
