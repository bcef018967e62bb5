#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "gui/core/Control.h"
#include "gui/core/Gdi.h"
#include "gui/core/WindowlessHost.h"

namespace gui {

class GraphicControl;

// A place the keyboard focus can go: a windowed control, or a windowless control inside one.
struct FocusStop {
  WinControl* window = nullptr;
  GraphicControl* windowless = nullptr;
  bool operator==(const FocusStop&) const = default;
};

struct CreateParams {
  std::string className;      // a system class ("BUTTON", ...) or empty for our own window class
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  std::string text;
};

// A control with a window of its own. The window is made when the control has a parent whose window
// exists (or, for a top-level control, when first needed), and dies with the control.
// It owns its children and paints its windowless children; its host routes the mouse to them.
class WinControl : public Control {
 public:
  explicit WinControl(WinControl* parent);
  ~WinControl() override;

  HWND Handle();                       // makes the window if it does not exist yet
  HWND HandleIfAllocated() const { return hwnd_; }
  bool HandleAllocated() const { return hwnd_ != nullptr; }

  const std::vector<Control*>& Controls() const { return children_; }
  void Invalidate() override;
  void SetFocus();

  // Keyboard navigation. A tab stop is visited by Tab and Shift+Tab; the tab order is the control's place
  // among its parent's windowed controls, which start in creation order.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);
  int TabOrder() const;  // -1 without a parent
  void SetTabOrder(int order);
  // The windowed controls inside this one, depth first in tab order, that Tab visits now: tab stops that
  // are visible and enabled up to the top-level window.
  std::vector<WinControl*> TabStopsInside() const;
  // The windowless controls of this window that Tab visits after its windowed ones, in order (none by default).
  virtual std::vector<GraphicControl*> WindowlessTabStops() const { return {}; }
  // TabStopsInside with the windowless stops of every window that shows, each after its window's own.
  std::vector<FocusStop> FocusStopsInside() const;
  // The control of ours whose window is window or holds it, or nullptr.
  static WinControl* OwnerOfWindow(HWND window);

  // Makes the child T(this, args...) and returns it; this control owns it from now on.
  template <class T, class... Args>
  T& Add(Args&&... args) {
    return *new T(this, std::forward<Args>(args)...);
  }

  // The object behind a window of ours, or nullptr.
  static WinControl* FromHandle(HWND window);

  // Offers an accelerator character to this control and every control inside it.
  bool BroadcastDialogChar(char ch);

  // Lays out the children that fill the client area or stick to its bottom.
  void Realign();
  // Puts every control inside at the pixels and fonts of the current density.
  void Rescale();

  // Hover, capture, press and focus of the windowless controls inside this window.
  WindowlessHost& Host() { return host_; }
  const WindowlessHost& Host() const { return host_; }

  // Our windows are clients to a screen reader, named by their text; system controls keep the system's
  // description unless their class gives one.
  AccessibleRole Role() const override { return subclassed_ ? AccessibleRole::None : AccessibleRole::Client; }
  std::string AccessibleName() const override;
  // The children a screen reader sees, in reading order (top to bottom, then left to right): windowed
  // children that show, and windowless ones that show and have a role.
  std::vector<Control*> AccessibleChildren() const;

 protected:
  friend class Control;

  virtual void FillCreateParams(CreateParams& params);
  virtual void HandleCreated() {}            // the window exists: push stored state into it
  // Whether the windows of the children wait until CreateChildHandles is called (a hidden sheet's do).
  virtual bool DefersChildHandles() const { return false; }
  // Told to the top-level control when a control inside it is destroyed.
  virtual void DescendantDestroyed(WinControl*) {}
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // A notification or colour request that the parent hands back to the child it came from.
  virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Text colour from the font, background and brush in the given colour: a WM_CTLCOLOR* answer.
  LRESULT AnswerColorRequest(HDC dc, Color background);
  virtual void PaintBackground(HDC dc, const RECT& area);
  virtual void PaintWindow(HDC dc, const RECT& area);   // background, then the windowless children

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ColorChanged() override;
  void FontChanged() override;

  void CreateHandle();
  void CreateChildHandles();
  void DestroyHandle();
  HWND ParentHandle();

 private:
  void InsertChild(Control* child);
  void RemoveChild(Control* child);
  bool TakesTabStop() const;
  bool ShowsInside() const;  // this and every container up to the top-level window visible and enabled

  static LRESULT CALLBACK OwnClassProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  bool creating_ = false;
  std::vector<Control*> children_;
  std::vector<WinControl*> tabList_;  // the windowed children in tab order
  bool tabStop_ = false;
  WindowlessHost host_{*this};
  OwnedBrush background_;             // for the colour requests of system controls
  Color backgroundColor_ = clNone;
};

}  // namespace gui
