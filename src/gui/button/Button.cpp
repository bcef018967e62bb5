#include "gui/button/Button.h"
#include "gui/core/Accelerator.h"

namespace gui {

Button::Button(WinControl* parent, const std::string& caption) : WinControl(parent), caption_(caption) {}

void Button::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextA(HandleIfAllocated(), caption_.c_str());
}

bool Button::DialogChar(char ch) {
  if (!IsAccelerator(caption_, ch) || !Enabled() || !Showing()) return false;
  SetFocus();
  SendMessageA(Handle(), BM_CLICK, 0, 0);
  return true;
}

void Button::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "BUTTON";
  params.style |= BS_PUSHBUTTON | WS_TABSTOP;
  params.text = caption_;
}

bool Button::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (OnClick) OnClick();
    result = 0;
    return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
