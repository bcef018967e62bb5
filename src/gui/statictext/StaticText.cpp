#include "gui/statictext/StaticText.h"
#include "win32/TextCodes.h"

namespace gui {

StaticText::StaticText(WinControl* parent) : WinControl(parent) {}

void StaticText::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(caption_).c_str());
}

void StaticText::SetParentColor(bool parentColor) {
  parentColor_ = parentColor;
  Invalidate();
}

void StaticText::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "STATIC";
  params.style |= SS_LEFT | SS_NOPREFIX;
  params.text = caption_;
}

bool StaticText::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_CTLCOLORSTATIC && parentColor_ && Parent()) {
    result = AnswerColorRequest(reinterpret_cast<HDC>(wParam), Parent()->GetColor());
    return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
