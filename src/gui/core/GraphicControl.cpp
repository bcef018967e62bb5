#include "gui/core/GraphicControl.h"
#include "gui/core/Canvas.h"
#include "gui/core/Events.h"
#include "gui/core/Gdi.h"
#include "gui/core/WinControl.h"

namespace gui {

ShiftState ShiftState::FromKeys(WPARAM keys) {
  ShiftState state;
  state.shift = keys & MK_SHIFT;
  state.ctrl = keys & MK_CONTROL;
  state.alt = GetKeyState(VK_MENU) < 0;
  state.left = keys & MK_LBUTTON;
  state.right = keys & MK_RBUTTON;
  state.middle = keys & MK_MBUTTON;
  return state;
}

GraphicControl::GraphicControl(WinControl* parent) : Control(parent) {}

GraphicControl::~GraphicControl() {
  if (Visible()) Invalidate();
  if (Parent()) Parent()->Host().ControlGone(this);
}

void GraphicControl::Invalidate() {
  WinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent->HandleIfAllocated(), &r, TRUE);
}

void GraphicControl::Repaint() {
  WinControl* parent = Parent();
  if (!Visible() || !parent || !parent->HandleAllocated() || !IsWindowVisible(parent->HandleIfAllocated())) return;
  WindowDC dc(parent->HandleIfAllocated());
  SavedDC saved(dc.get());
  RECT r = BoundsRect();
  IntersectClipRect(dc.get(), r.left, r.top, r.right, r.bottom);
  SetViewportOrgEx(dc.get(), r.left, r.top, nullptr);
  Canvas canvas(dc.get());
  Paint(canvas);
}

void GraphicControl::BoundsChanged() {
  // Both the old and the new area need painting.
  WinControl* parent = Parent();
  if (parent && parent->HandleAllocated() && Visible()) {
    InvalidateRect(parent->HandleIfAllocated(), &lastBounds_, TRUE);
    Invalidate();
  }
  lastBounds_ = BoundsRect();
}

void GraphicControl::VisibleChanged() {
  WinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent->HandleIfAllocated(), &r, TRUE);
  parent->Host().ControlVisibilityChanged(*this);
}

void GraphicControl::EnabledChanged() {
  Invalidate();
  if (Parent()) Parent()->Host().ControlEnabledChanged(*this);
}

bool GraphicControl::ShowsFocus() const { return Parent() && Parent()->Host().ShowsFocus(*this); }

void GraphicControl::PostClick() const {
  HWND window = Parent() ? Parent()->HandleIfAllocated() : nullptr;
  if (!window) return;
  RECT r = BoundsRect();
  LPARAM centre = MAKELPARAM(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(window, WM_LBUTTONUP, 0, centre);
}

void GraphicControl::HandleMouseDown(MouseButton button, WPARAM keys, POINT point) {
  if (button == MouseButton::Left && Parent()) Parent()->Host().Press(*this);
  MouseDown(button, ShiftState::FromKeys(keys), point.x, point.y);
}

void GraphicControl::HandleMouseUp(MouseButton button, WPARAM keys, POINT point) {
  bool click = false;
  if (button == MouseButton::Left && Parent() && Parent()->Host().Release(*this))
    click = point.x >= 0 && point.y >= 0 && point.x < PixelWidth() && point.y < PixelHeight();
  ShiftState shift = ShiftState::FromKeys(keys);
  // The release belongs to the press whatever the click did: a handler that refuses with an error
  // must not leave the control pressed.
  RunThenAlways([&] { if (click) Click(); }, [&] { MouseUp(button, shift, point.x, point.y); });
}

void GraphicControl::HandleMouseMove(WPARAM keys, POINT point) {
  MouseMove(ShiftState::FromKeys(keys), point.x, point.y);
}

void GraphicControl::HandleDoubleClick(WPARAM keys, POINT point) {
  DblClick();
  ShiftState shift = ShiftState::FromKeys(keys);
  shift.doubleClick = true;
  MouseDown(MouseButton::Left, shift, point.x, point.y);
}

void GraphicControl::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  Raise(OnMouseDown, *this, button, shift, x, y);
}

void GraphicControl::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  Raise(OnMouseUp, *this, button, shift, x, y);
}

void GraphicControl::MouseMove(ShiftState shift, int x, int y) {
  Raise(OnMouseMove, *this, shift, x, y);
}

void GraphicControl::Click() {
  Raise(OnClick, *this);
}

void GraphicControl::DblClick() {
  Raise(OnDblClick, *this);
}

}  // namespace gui
