#include "gui/edit/Edit.h"
#include "win32/TextCodes.h"

namespace gui {

Edit::Edit(WinControl* parent) : WinControl(parent) {
  SetColor(clWindow);
  SetTabStop(true);
}

std::string Edit::Text() const {
  HWND window = HandleIfAllocated();
  if (!window) return text_;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return win32::Utf8FromWide(text);
}

void Edit::SetText(const std::string& text) {
  text_ = text;
  if (HandleAllocated()) SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(text).c_str());
}

void Edit::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "EDIT";
  params.style |= ES_AUTOHSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
  params.text = text_;
}

bool Edit::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) text_ = Text();
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
