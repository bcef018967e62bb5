#pragma once
#include <windows.h>

namespace gui {

class Control;
class GraphicControl;
class WinControl;

// The input state of the windowless controls inside one window: which control the mouse rests on, which one
// holds the capture while a button is down, which one the left button went down on, and which one has the
// keyboard focus while the window has it. The window hands the host its mouse and key messages; the host
// finds the control they are for and tells it, and the controls only paint and react. It also tells
// screen readers what changed among them.
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

  // The windowless control with the keyboard focus whenever the window has it; nullptr: the window itself.
  GraphicControl* Focused() const { return focused_; }
  void SetFocused(GraphicControl* control);
  bool ShowsFocus(const GraphicControl& control) const;  // focused, and the window has the focus
  void WindowFocusChanged();                              // WM_SETFOCUS or WM_KILLFOCUS
  // Space or Enter presses the focused control; true when taken.
  bool RouteKey(WPARAM key);

  // Each laying of the controls (a page's buttons) has its own number: an accessible object of an earlier
  // laying is no longer connected. Relaid tells screen readers once the laying is done.
  unsigned Laying() const { return laying_; }
  void Relaid();
  void AnnounceReorder();  // the posted half of Relaid
  // Tells screen readers about control (a child of the window): EVENT_OBJECT_*.
  void Announce(DWORD event, const Control& control) const;

  void ControlVisibilityChanged(GraphicControl& control);
  void ControlEnabledChanged(GraphicControl& control);
  void ControlGone(const Control* control);
  void WindowGone();  // the window is destroyed: no hover, no capture left

 private:
  void UpdateHover(POINT point);
  void Repaint(GraphicControl* control) const;

  WinControl& window_;
  GraphicControl* hovered_ = nullptr;
  GraphicControl* captured_ = nullptr;
  const GraphicControl* pressed_ = nullptr;
  GraphicControl* focused_ = nullptr;
  bool trackingLeave_ = false;
  unsigned laying_ = 0;
  bool reorderPosted_ = false;
};

}  // namespace gui
