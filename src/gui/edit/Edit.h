#pragma once
#include <string>
#include "gui/core/WinControl.h"

namespace gui {

// A one-line edit box.
class Edit : public WinControl {
 public:
  explicit Edit(WinControl* parent);
  std::string Text() const;
  void SetText(const std::string& text);

 protected:
  void FillCreateParams(CreateParams& params) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::string text_;  // kept while there is no window
};

}  // namespace gui
