#include "gui/panel/Panel.h"
#include "gui/core/Events.h"
#include <windowsx.h>
#include "win32/TextCodes.h"

namespace gui {

Panel::Panel(WinControl* parent) : WinControl(parent) {}

void Panel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (HandleAllocated()) {
    SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(caption_).c_str());  // readable from outside
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, HandleIfAllocated(), OBJID_CLIENT, CHILDID_SELF);
  }
  Invalidate();
}

void Panel::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.text = caption_;
}

void Panel::SetBevelOuter(Bevel bevel) {
  bevelOuter_ = bevel;
  Invalidate();
}

void Panel::PaintBackground(HDC dc, const RECT& area) {
  WinControl::PaintBackground(dc, area);
  RECT client{0, 0, PixelWidth(), PixelHeight()};
  if (bevelOuter_ != Bevel::None) {
    COLORREF topLeft = GetSysColor(bevelOuter_ == Bevel::Raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    COLORREF bottomRight = GetSysColor(bevelOuter_ == Bevel::Raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    OwnedBrush light(CreateSolidBrush(topLeft)), dark(CreateSolidBrush(bottomRight));
    RECT top{0, 0, client.right, 1}, left{0, 0, 1, client.bottom};
    RECT bottom{0, client.bottom - 1, client.right, client.bottom}, right{client.right - 1, 0, client.right, client.bottom};
    FillRect(dc, &top, light.get());
    FillRect(dc, &left, light.get());
    FillRect(dc, &bottom, dark.get());
    FillRect(dc, &right, dark.get());
    InflateRect(&client, -1, -1);
  }
  if (!caption_.empty()) {
    ScopedSelect font(dc, GetFont().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(GetFont().GetColor()));
    DrawTextW(dc, win32::WideFromUtf8(caption_).c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

LRESULT Panel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      SetCapture(HandleIfAllocated());
      break;
    case WM_LBUTTONUP: {
      bool wasPressed = pressed_;
      pressed_ = false;
      // Windowless children get their release first, while the capture still says who was pressed.
      WinControl::WndProc(message, wParam, lParam);
      if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client{0, 0, PixelWidth(), PixelHeight()};
      if (wasPressed && PtInRect(&client, point)) Raise(OnClick);
      return 0;
    }
  }
  return WinControl::WndProc(message, wParam, lParam);
}

}  // namespace gui
