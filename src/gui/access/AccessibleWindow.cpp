#include "gui/access/AccessibleWindow.h"
#include <algorithm>
#include <vector>
#include "gui/access/AccessibleObject.h"
#include "gui/access/Oleacc.h"
#include "gui/core/GraphicControl.h"
#include "gui/core/WinControl.h"

namespace gui::access {

namespace {

long SystemRole(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    default: return ROLE_SYSTEM_CLIENT;
  }
}

// What every control says of itself, windowed or not; the callers add state and place.
Description DescriptionOf(const Control& control) {
  Description d;
  d.role = SystemRole(control.Role());
  d.name = control.AccessibleName();
  d.shortcut = control.AccessibleShortcut();
  d.defaultAction = control.AccessibleDefaultAction();
  return d;
}

RECT ToScreen(HWND window, RECT r) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

win32::ComRef<IDispatch> ClientObjectOf(HWND window) { return Oleacc::Instance().ClientOf(window); }

void AnswerObject(win32::ComRef<IDispatch> object, VARIANT& result) {
  if (!object) return;
  result.vt = VT_DISPATCH;
  result.pdispVal = object.detach();
}

// One windowless control as it was laid: once the host lays its controls again, or the control is gone,
// the object is no longer connected.
class WindowlessObject : public AccessibleObject {
 public:
  WindowlessObject(WinControl& host, GraphicControl& control)
      : window_(host.HandleIfAllocated()), host_(host), control_(control), laying_(host.Host().Laying()) {}

 protected:
  bool Connected() const override {
    if (WinControl::FromHandle(window_) != &host_ || host_.Host().Laying() != laying_) return false;
    const auto& children = host_.Controls();
    return std::find(children.begin(), children.end(), &control_) != children.end();
  }

  Description Describe() const override {
    Description d = DescriptionOf(control_);
    if (!control_.Enabled()) d.state |= STATE_SYSTEM_UNAVAILABLE;
    if (!control_.Visible()) d.state |= STATE_SYSTEM_INVISIBLE;
    std::vector<GraphicControl*> stops = host_.WindowlessTabStops();
    if (std::find(stops.begin(), stops.end(), &control_) != stops.end()) d.state |= STATE_SYSTEM_FOCUSABLE;
    if (control_.ShowsFocus()) d.state |= STATE_SYSTEM_FOCUSED;
    d.screen = ToScreen(window_, control_.BoundsRect());
    return d;
  }

  HRESULT Parent(IDispatch** parent) override {
    *parent = ClientObjectOf(window_).detach();
    return *parent ? S_OK : S_FALSE;
  }

  void Focus(VARIANT& result) override {
    if (control_.ShowsFocus()) {
      result.vt = VT_I4;
      result.lVal = CHILDID_SELF;
    }
  }

  void DoDefaultAction() override { control_.DoAccessibleDefaultAction(); }

 private:
  HWND window_;
  WinControl& host_;
  GraphicControl& control_;
  unsigned laying_;
};

// The client area of one of our windows.
class WindowObject : public AccessibleObject {
 public:
  explicit WindowObject(WinControl& control) : window_(control.HandleIfAllocated()), control_(control) {}

 protected:
  bool Connected() const override { return WinControl::FromHandle(window_) == &control_; }

  Description Describe() const override {
    Description d = DescriptionOf(control_);
    d.state = STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowEnabled(window_)) d.state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(window_)) d.state |= STATE_SYSTEM_INVISIBLE;
    if (GetFocus() == window_ && !control_.Host().Focused()) d.state |= STATE_SYSTEM_FOCUSED;
    RECT client;
    GetClientRect(window_, &client);
    d.screen = ToScreen(window_, client);
    return d;
  }

  HRESULT Parent(IDispatch** parent) override {
    IAccessible* standard = Standard();
    return standard ? standard->get_accParent(parent) : S_FALSE;
  }

  long ChildCount() override { return static_cast<long>(control_.AccessibleChildren().size()); }

  win32::ComRef<IDispatch> Child(long id) override {
    std::vector<Control*> children = control_.AccessibleChildren();
    if (id < 1 || id > static_cast<long>(children.size())) return {};
    return ObjectOf(*children[static_cast<size_t>(id - 1)]);
  }

  void HitTest(POINT screen, VARIANT& result) override {
    POINT point = screen;
    ScreenToClient(window_, &point);
    std::vector<Control*> children = control_.AccessibleChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      RECT r = (*it)->BoundsRect();
      if (PtInRect(&r, point)) return AnswerObject(ObjectOf(**it), result);
    }
    AccessibleObject::HitTest(screen, result);
  }

  void Focus(VARIANT& result) override {
    HWND focus = GetFocus();
    if (focus == window_) {
      if (GraphicControl* focused = control_.Host().Focused()) return AnswerObject(ObjectOf(*focused), result);
      result.vt = VT_I4;
      result.lVal = CHILDID_SELF;
      return;
    }
    for (Control* child : control_.AccessibleChildren()) {
      auto* windowed = dynamic_cast<WinControl*>(child);
      HWND handle = windowed ? windowed->HandleIfAllocated() : nullptr;
      if (handle && focus && (focus == handle || IsChild(handle, focus))) return AnswerObject(ObjectOf(*child), result);
    }
  }

  HRESULT Navigate(long direction, VARIANT* end) override {
    IAccessible* standard = Standard();
    if (!standard) return DISP_E_MEMBERNOTFOUND;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return standard->accNavigate(direction, self, end);
  }

  void DoDefaultAction() override { control_.DoAccessibleDefaultAction(); }

 private:
  win32::ComRef<IDispatch> ObjectOf(Control& child) {
    if (auto* windowless = dynamic_cast<GraphicControl*>(&child))
      return win32::ComRef<IDispatch>(new WindowlessObject(control_, *windowless));
    auto* windowed = dynamic_cast<WinControl*>(&child);
    return windowed && windowed->HandleIfAllocated() ? ClientObjectOf(windowed->HandleIfAllocated())
                                                     : win32::ComRef<IDispatch>();
  }

  IAccessible* Standard() {
    if (!standard_) standard_ = Oleacc::Instance().StandardClient(window_);
    return standard_.get();
  }

  HWND window_;
  WinControl& control_;
  win32::ComRef<IAccessible> standard_;
};

}  // namespace

LRESULT AnswerClientObject(WinControl& window, WPARAM wParam) {
  Oleacc& oleacc = Oleacc::Instance();
  if (!oleacc.Loaded() || !window.HandleIfAllocated()) return 0;
  win32::ComRef<IAccessible> object(new WindowObject(window));
  return oleacc.LresultFromObject(__uuidof(IAccessible), wParam, object.get());
}

}  // namespace gui::access
