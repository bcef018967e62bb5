#pragma once
#include <windows.h>
#include <functional>
#include "gui/core/Control.h"

namespace gui {

class Canvas;

enum class MouseButton { Left, Right, Middle };

struct ShiftState {
  bool shift = false, ctrl = false, alt = false;
  bool left = false, right = false, middle = false;
  bool doubleClick = false;
  static ShiftState FromKeys(WPARAM keys);
};

using MouseEvent = std::function<void(Control& sender, MouseButton, ShiftState, int x, int y)>;
using MouseMoveEvent = std::function<void(Control& sender, ShiftState, int x, int y)>;
using NotifyEvent = std::function<void(Control& sender)>;

// A control without a window: its parent paints it and hands it the mouse.
class GraphicControl : public Control {
 public:
  explicit GraphicControl(WinControl* parent);
  ~GraphicControl() override;

  void Invalidate() override;     // deferred repaint of the area under the control
  void Repaint();                 // paints at once through the parent's DC, clipped to the control

  // Called by the parent window with positions in the control's own coordinates.
  void HandleMouseDown(MouseButton button, WPARAM keys, POINT point);
  void HandleMouseUp(MouseButton button, WPARAM keys, POINT point);
  void HandleMouseMove(WPARAM keys, POINT point);
  virtual void HandleDoubleClick(WPARAM keys, POINT point);  // the left button's second press
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Whether the control captures the mouse while a button is held (framework default: yes).
  virtual bool CapturesMouse() const { return true; }
  // Whether the parent fills the background under the control before painting it.
  virtual bool Opaque() const { return false; }

  virtual void Paint(Canvas& canvas) = 0;

  // Space or Enter while the control has the keyboard focus.
  virtual void KeyPress() { Click(); }
  // Whether the control shows the keyboard focus now.
  bool ShowsFocus() const;
  // Posts a left click at the control's centre to its parent window: the click then comes as the mouse's
  // does, through every check that the mouse's goes through.
  void PostClick() const;

  NotifyEvent OnClick;
  NotifyEvent OnDblClick;
  MouseEvent OnMouseDown;
  MouseEvent OnMouseUp;
  MouseMoveEvent OnMouseMove;

 protected:
  virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseMove(ShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;

 private:
  RECT lastBounds_{};
};

}  // namespace gui
