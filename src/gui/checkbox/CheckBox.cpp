#include "gui/checkbox/CheckBox.h"
#include <algorithm>
#include "gui/core/Accelerator.h"
#include "gui/core/Dpi.h"
#include "gui/core/Events.h"
#include "gui/core/Gdi.h"
#include "win32/TextCodes.h"

namespace gui {

CheckBox::CheckBox(WinControl* parent) : WinControl(parent) { SetTabStop(true); }

void CheckBox::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(caption_).c_str());
  FitCaption();
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
  FitCaption();
}

void CheckBox::FontChanged() {
  WinControl::FontChanged();
  FitCaption();
}

// The layout was made for the bitmap face; a wider face on a dense screen is narrowed until the caption fits
// beside the box, rather than cut. Where it fits, the control's own font stays.
void CheckBox::FitCaption() {
  HWND window = HandleIfAllocated();
  if (!window) return;
  const std::wstring caption = win32::WideFromUtf8(caption_);
  HFONT font = GetFont().Handle();
  WindowDC dc(window);
  // The caption as the box shows it ("&" marks the access key), one line.
  auto width = [&](HFONT measured) {
    ScopedSelect selected(dc.get(), measured);
    RECT r{};
    DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return static_cast<int>(r.right);
  };
  int extent = width(font);
  const int room = PixelWidth() - GetSystemMetrics(SM_CXMENUCHECK) - Scale(6);
  LOGFONTW face{};
  OwnedFont narrowed;
  if (CurrentDpi() > 120 && extent > room && room > 0 && GetObjectW(font, sizeof face, &face)) {
    // Glyph widths round, so the text narrows less than the font: a few steps make it fit.
    TEXTMETRICW metrics{};
    {
      ScopedSelect selected(dc.get(), font);
      GetTextMetricsW(dc.get(), &metrics);
    }
    face.lfWidth = metrics.tmAveCharWidth;
    for (int step = 0; step < 4 && extent > room && face.lfWidth > 1; ++step) {
      face.lfWidth = std::max<LONG>(1, MulDiv(face.lfWidth, room, extent) - (step ? 1 : 0));
      narrowed.reset(CreateFontIndirectW(&face));
      if (!narrowed) break;
      extent = width(narrowed.get());
    }
  }
  if (narrowed || narrowed_) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(narrowed ? narrowed.get() : font), TRUE);
  narrowed_ = std::move(narrowed);
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
