#pragma once
#include <windows.h>

namespace gui {

class Control;
class GraphicControl;
class WinControl;

// The mouse state of the windowless controls inside one window: which control the mouse rests on, which one
// holds the capture while a button is down and which one the left button went down on. The window hands
// the host its mouse messages; the host finds the control under the mouse and tells it, and the controls
// only paint and react.
class WindowlessHost {
 public:
  explicit WindowlessHost(WinControl& window) : window_(window) {}
  WindowlessHost(const WindowlessHost&) = delete;
  WindowlessHost& operator=(const WindowlessHost&) = delete;

  // True when the message went to a windowless control.
  bool RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
  // The topmost visible windowless control at point (client coordinates), or nullptr.
  GraphicControl* ControlAt(POINT point, bool enabledOnly) const;

  GraphicControl* Hovered() const { return hovered_; }
  GraphicControl* Captured() const { return captured_; }

  // The left button went down on control; Release says whether it was pressed there and forgets it.
  void Press(GraphicControl& control) { pressed_ = &control; }
  bool Release(const GraphicControl& control);

  void ControlVisibilityChanged(GraphicControl& control);
  void ControlGone(const Control* control);
  void WindowGone();  // the window is destroyed: no hover, no capture left

 private:
  void UpdateHover(POINT point);

  WinControl& window_;
  GraphicControl* hovered_ = nullptr;
  GraphicControl* captured_ = nullptr;
  const GraphicControl* pressed_ = nullptr;
  bool trackingLeave_ = false;
};

}  // namespace gui
