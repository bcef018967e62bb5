#include "gui/button/Button.h"
#include "gui/core/Accelerator.h"
#include "win32/TextCodes.h"

namespace gui {

Button::Button(WinControl* parent, const std::string& caption) : WinControl(parent), caption_(caption) {
  SetTabStop(true);
}

void Button::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(caption_).c_str());
}

std::string Button::AccessibleName() const { return WithoutAccelerator(caption_); }

std::string Button::AccessibleShortcut() const { return ShortcutOf(caption_); }

void Button::DoAccessibleDefaultAction() {
  // Posted: the click comes as the user's own, and the screen reader's call returns at once.
  if (HandleAllocated()) PostMessageW(HandleIfAllocated(), BM_CLICK, 0, 0);
}

void Button::SetDefault(bool isDefault) {
  default_ = isDefault;
  ShowDefaultFrame(isDefault);
}

void Button::Click() {
  if (Enabled() && Showing() && OnClick) OnClick();
}

bool Button::DialogChar(char ch) {
  if (!IsAccelerator(caption_, ch) || !Enabled() || !Showing()) return false;
  SetFocus();
  Click();
  return true;
}

void Button::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "BUTTON";
  params.style |= (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
  params.text = caption_;
}

bool Button::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Click();
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLORBTN) {
    result = AnswerColorRequest(reinterpret_cast<HDC>(wParam), Parent() ? Parent()->GetColor() : GetColor());
    return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

LRESULT Button::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        Click();
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        for (Button* button : ButtonsOfParent())
          if (button->Cancel()) {
            button->Click();
            break;
          }
        return 0;
      }
      break;
    case WM_SETFOCUS:
      for (Button* button : ButtonsOfParent()) button->ShowDefaultFrame(button == this);
      break;
    case WM_KILLFOCUS:
      for (Button* button : ButtonsOfParent()) button->ShowDefaultFrame(button->Default());
      break;
  }
  return WinControl::WndProc(message, wParam, lParam);
}

std::vector<Button*> Button::ButtonsOfParent() const {
  std::vector<Button*> buttons;
  if (Parent())
    for (Control* control : Parent()->Controls())
      if (auto* button = dynamic_cast<Button*>(control)) buttons.push_back(button);
  return buttons;
}

void Button::ShowDefaultFrame(bool on) {
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

}  // namespace gui
