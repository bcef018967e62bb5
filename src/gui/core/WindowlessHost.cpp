#include "gui/core/WindowlessHost.h"
#include <windowsx.h>
#include <algorithm>
#include "gui/core/GraphicControl.h"
#include "gui/core/Messages.h"
#include "gui/core/WinControl.h"

namespace gui {

GraphicControl* WindowlessHost::ControlAt(POINT point, bool enabledOnly) const {
  const auto& children = window_.Controls();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    auto* graphic = dynamic_cast<GraphicControl*>(*it);
    if (!graphic || !graphic->Visible() || (enabledOnly && !graphic->Enabled())) continue;
    RECT r = graphic->BoundsRect();
    if (PtInRect(&r, point)) return graphic;
  }
  return nullptr;
}

bool WindowlessHost::Release(const GraphicControl& control) {
  if (pressed_ != &control) return false;
  pressed_ = nullptr;
  return true;
}

void WindowlessHost::SetFocused(GraphicControl* control) {
  if (control == focused_) return;
  GraphicControl* previous = focused_;
  focused_ = control;
  Repaint(previous);
  Repaint(focused_);
  HWND hwnd = window_.HandleIfAllocated();
  if (focused_ && hwnd && GetFocus() == hwnd) Announce(EVENT_OBJECT_FOCUS, *focused_);
}

bool WindowlessHost::ShowsFocus(const GraphicControl& control) const {
  HWND hwnd = window_.HandleIfAllocated();
  return focused_ == &control && hwnd && GetFocus() == hwnd;
}

void WindowlessHost::WindowFocusChanged() {
  if (!focused_) return;
  Repaint(focused_);
  HWND hwnd = window_.HandleIfAllocated();
  if (hwnd && GetFocus() == hwnd) Announce(EVENT_OBJECT_FOCUS, *focused_);
}

bool WindowlessHost::RouteKey(WPARAM key) {
  if (!focused_ || (key != VK_SPACE && key != VK_RETURN)) return false;
  if (!focused_->Visible() || !focused_->Enabled()) return false;
  focused_->KeyPress();
  return true;
}

void WindowlessHost::Repaint(GraphicControl* control) const {
  if (control) control->Invalidate();
}

void WindowlessHost::Relaid() {
  ++laying_;
  HWND hwnd = window_.HandleIfAllocated();
  if (hwnd && !reorderPosted_) reorderPosted_ = PostMessageW(hwnd, WM_TWINSIFT_REORDERED, 0, 0);
}

void WindowlessHost::AnnounceReorder() {
  reorderPosted_ = false;
  if (HWND hwnd = window_.HandleIfAllocated()) NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void WindowlessHost::Announce(DWORD event, const Control& control) const {
  HWND hwnd = window_.HandleIfAllocated();
  if (!hwnd) return;
  std::vector<Control*> children = window_.AccessibleChildren();
  auto at = std::find(children.begin(), children.end(), &control);
  if (at == children.end()) return;
  NotifyWinEvent(event, hwnd, OBJID_CLIENT, static_cast<LONG>(at - children.begin()) + 1);
}

void WindowlessHost::ControlEnabledChanged(GraphicControl& control) {
  if (!control.Enabled() && focused_ == &control) focused_ = nullptr;
  Announce(EVENT_OBJECT_STATECHANGE, control);
}

void WindowlessHost::ControlVisibilityChanged(GraphicControl& control) {
  if (!control.Visible() && focused_ == &control) focused_ = nullptr;
  HWND hwnd = window_.HandleIfAllocated();
  if (!hwnd) return;
  if (!control.Visible()) {
    if (captured_ == &control) ControlGone(&control);
    if (hovered_ == &control) {
      hovered_ = nullptr;
      control.MouseLeave();
    }
  }
  // A control that appears or disappears under a resting mouse is entered or left at once.
  POINT cursor;
  if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd && ScreenToClient(hwnd, &cursor)) UpdateHover(cursor);
}

void WindowlessHost::ControlGone(const Control* control) {
  if (hovered_ == control) hovered_ = nullptr;
  if (captured_ == control) {
    captured_ = nullptr;
    HWND hwnd = window_.HandleIfAllocated();
    if (hwnd && GetCapture() == hwnd) ReleaseCapture();
  }
  if (pressed_ == control) pressed_ = nullptr;
  if (focused_ == control) focused_ = nullptr;
  ++laying_;  // whatever object a screen reader holds of it must not reach a control that is gone
}

void WindowlessHost::WindowGone() {
  hovered_ = captured_ = nullptr;
  trackingLeave_ = false;
  reorderPosted_ = false;  // the posted announcement went with the window
}

void WindowlessHost::UpdateHover(POINT point) {
  GraphicControl* target = ControlAt(point, false);
  if (target == hovered_) return;
  GraphicControl* previous = hovered_;
  hovered_ = target;
  if (previous) previous->MouseLeave();
  if (hovered_ && hovered_ == target) hovered_->MouseEnter();
}

bool WindowlessHost::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = window_.HandleIfAllocated();
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  auto local = [&](GraphicControl* c) { return POINT{point.x - c->BoundsRect().left, point.y - c->BoundsRect().top}; };
  switch (message) {
    case WM_MOUSEMOVE: {
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        trackingLeave_ = TrackMouseEvent(&track);
      }
      UpdateHover(point);
      GraphicControl* target = captured_ ? captured_ : ControlAt(point, true);
      if (target) target->HandleMouseMove(wParam, local(target));
      return target != nullptr;
    }
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (!captured_ && hovered_) {
        GraphicControl* previous = hovered_;
        hovered_ = nullptr;
        previous->MouseLeave();
      }
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      GraphicControl* target = captured_ ? captured_ : ControlAt(point, true);
      if (!target) return false;
      if (target->CapturesMouse()) {
        captured_ = target;
        SetCapture(hwnd);
      }
      if (message == WM_LBUTTONDBLCLK) target->HandleDoubleClick(wParam, local(target));
      else {
        MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                             : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                         : MouseButton::Middle;
        target->HandleMouseDown(button, wParam, local(target));
      }
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      GraphicControl* target = captured_ ? captured_ : ControlAt(point, true);
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && captured_) {
        captured_ = nullptr;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      if (!target) return false;
      MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                           : message == WM_RBUTTONUP ? MouseButton::Right
                                                     : MouseButton::Middle;
      target->HandleMouseUp(button, wParam, local(target));
      return true;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) captured_ = nullptr;
      return false;
  }
  return false;
}

}  // namespace gui
