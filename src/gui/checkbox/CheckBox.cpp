#include "gui/checkbox/CheckBox.h"
#include "gui/core/Accelerator.h"
#include "gui/core/Events.h"
#include "win32/TextCodes.h"

namespace gui {

CheckBox::CheckBox(WinControl* parent) : WinControl(parent) { SetTabStop(true); }

void CheckBox::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(caption_).c_str());
}

bool CheckBox::Checked() const {
  if (HandleAllocated()) return SendMessageW(HandleIfAllocated(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return checked_;
}

void CheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::DialogChar(char ch) {
  if (!IsAccelerator(caption_, ch) || !Enabled() || !Showing()) return false;
  SetFocus();
  SendMessageW(Handle(), BM_CLICK, 0, 0);
  return true;
}

void CheckBox::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "BUTTON";
  params.style |= BS_AUTOCHECKBOX;
  params.text = caption_;
}

void CheckBox::HandleCreated() {
  SendMessageW(HandleIfAllocated(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    checked_ = Checked();
    Raise(OnClick);
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    // The box stands on its parent's colour.
    result = AnswerColorRequest(reinterpret_cast<HDC>(wParam), Parent() ? Parent()->GetColor() : GetColor());
    return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
