#include "gui/core/WinControl.h"
#include <commctrl.h>
#include <windowsx.h>
#include <algorithm>
#include "gui/canvas/Canvas.h"
#include "gui/core/Application.h"
#include "gui/core/Error.h"
#include "gui/core/Events.h"
#include "gui/core/Gdi.h"
#include "gui/core/GraphicControl.h"

namespace gui {

namespace {

constexpr const char* kOwnClassName = "TwinsiftWindow";
constexpr const char* kObjectProperty = "TwinsiftControl";

// The off-screen bitmap that every window of the GUI thread paints into before it shows the result: kept
// and grown to the largest area asked for, because making and zeroing a fresh one for every paint is what
// a slide's many small paints cost most. A paint inside a paint (never expected) gets one of its own.
class PaintBuffer {
 public:
  PaintBuffer() = default;
  ~PaintBuffer() {
    if (selected_) SelectObject(dc_.get(), selected_);  // a bitmap still selected could not be deleted
  }
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  // Selects a bitmap of at least width x height into the buffer's DC and saves the DC's state; Release
  // brings the state back, so that every paint starts from a fresh DC's defaults.
  HDC Acquire(HDC screen, int width, int height) {
    if (inUse_) return nullptr;
    if (!bitmap_ || width > width_ || height > height_) {
      if (selected_) SelectObject(dc_.get(), selected_);
      width_ = std::max(width, width_);
      height_ = std::max(height, height_);
      bitmap_.reset(CreateCompatibleBitmap(screen, width_, height_));
      if (!bitmap_) return nullptr;
      selected_ = SelectObject(dc_.get(), bitmap_.get());
    }
    inUse_ = true;
    saved_ = SaveDC(dc_.get());
    return dc_.get();
  }
  void Release() {
    RestoreDC(dc_.get(), saved_);
    inUse_ = false;
  }

 private:
  MemoryDC dc_;
  OwnedBitmap bitmap_;
  HGDIOBJ selected_ = nullptr;  // what the DC held before our bitmap
  int width_ = 0, height_ = 0, saved_ = 0;
  bool inUse_ = false;
};

PaintBuffer& SharedPaintBuffer() {
  static PaintBuffer buffer;
  return buffer;
}

}  // namespace

WinControl::WinControl(WinControl* parent) : Control(parent) {
  // InsertChild could not tell yet that this is a windowed control: it ran from the base's constructor.
  if (parent) parent->tabList_.push_back(this);
}

WinControl::~WinControl() {
  if (Parent()) {
    WinControl* root = Parent();
    while (root->Parent()) root = root->Parent();
    root->DescendantDestroyed(this);
  }
  while (!children_.empty()) delete children_.back();
  DestroyHandle();
}

WinControl* WinControl::FromHandle(HWND window) {
  return window ? static_cast<WinControl*>(GetPropA(window, kObjectProperty)) : nullptr;
}

void WinControl::InsertChild(Control* child) {
  children_.push_back(child);
  if (auto* windowed = dynamic_cast<WinControl*>(child)) {
    tabList_.push_back(windowed);
    if (hwnd_ && !creating_) {
      if (windowed->hwnd_) ::SetParent(windowed->hwnd_, hwnd_);
      else windowed->CreateHandle();
    }
  }
  if (child->GetAlign() != Align::None) Realign();
}

void WinControl::RemoveChild(Control* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), child), tabList_.end());
  if (auto* graphic = dynamic_cast<GraphicControl*>(child)) ChildGone(graphic);
}

void WinControl::ChildVisibilityChanged(GraphicControl* child) {
  if (!hwnd_) return;
  if (!child->Visible()) {
    if (captured_ == child) ChildGone(child);
    if (hovered_ == child) {
      hovered_ = nullptr;
      child->MouseLeave();
    }
  }
  // A control that appears or disappears under a resting mouse is entered or left at once.
  POINT cursor;
  if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd_ && ScreenToClient(hwnd_, &cursor)) UpdateHover(cursor);
}

void WinControl::ChildGone(Control* child) {
  if (hovered_ == child) hovered_ = nullptr;
  if (captured_ == child) {
    captured_ = nullptr;
    if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
  }
}

HWND WinControl::ParentHandle() { return Parent() ? Parent()->Handle() : nullptr; }

HWND WinControl::Handle() {
  if (!hwnd_) CreateHandle();
  return hwnd_;
}

void WinControl::FillCreateParams(CreateParams& params) {
  if (Visible()) params.style |= WS_VISIBLE;
  if (!Enabled()) params.style |= WS_DISABLED;
  if (tabStop_) params.style |= WS_TABSTOP;
}

void WinControl::CreateHandle() {
  if (hwnd_) return;
  HWND parentWindow = ParentHandle();
  if (Parent() && !parentWindow) return;
  CreateParams params;
  FillCreateParams(params);
  creating_ = true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (params.className.empty()) {
    static const bool registered = [] {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof(wc);
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = OwnClassProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
      wc.lpszClassName = kOwnClassName;
      return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = CreateWindowExA(params.exStyle, kOwnClassName, params.text.c_str(), params.style, Left(), Top(), Width(),
                            Height(), parentWindow, nullptr, instance, this);
  } else {
    hwnd_ = CreateWindowExA(params.exStyle, params.className.c_str(), params.text.c_str(), params.style, Left(), Top(),
                            Width(), Height(), parentWindow, nullptr, instance, nullptr);
    if (hwnd_) {
      SetPropA(hwnd_, kObjectProperty, this);
      SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
      subclassed_ = true;
    }
  }
  creating_ = false;
  if (!hwnd_) throw Error("Cannot create a window: " + SystemErrorText(GetLastError()));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), FALSE);
  HandleCreated();
  if (!DefersChildHandles()) CreateChildHandles();
  Realign();
}

void WinControl::CreateChildHandles() {
  for (Control* child : std::vector<Control*>(children_))
    if (auto* windowed = dynamic_cast<WinControl*>(child)) windowed->CreateHandle();
}

void WinControl::DestroyHandle() {
  if (!hwnd_) return;
  HWND window = hwnd_;
  DestroyWindow(window);  // WM_NCDESTROY unbinds the object
  hwnd_ = nullptr;
}

void WinControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinControl::SetFocus() { ::SetFocus(Handle()); }

void WinControl::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (!hwnd_) return;
  LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
  SetWindowLongA(hwnd_, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

int WinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void WinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

bool WinControl::TakesTabStop() const {
  if (!tabStop_) return false;
  // A hidden or disabled container hides or disables what it holds; the top-level window itself may
  // still be on its way to the screen.
  for (const Control* c = this; c->Parent(); c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

std::vector<WinControl*> WinControl::TabStopsInside() const {
  std::vector<WinControl*> stops;
  for (WinControl* child : tabList_) {
    if (child->TakesTabStop()) stops.push_back(child);
    std::vector<WinControl*> inner = child->TabStopsInside();
    stops.insert(stops.end(), inner.begin(), inner.end());
  }
  return stops;
}

WinControl* WinControl::OwnerOfWindow(HWND window) {
  for (; window; window = GetParent(window)) {
    if (WinControl* control = FromHandle(window)) return control;
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

void WinControl::BoundsChanged() {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  Realign();
}

void WinControl::VisibleChanged() {
  if (hwnd_) ShowWindow(hwnd_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void WinControl::EnabledChanged() {
  if (hwnd_) EnableWindow(hwnd_, Enabled());
}

void WinControl::ColorChanged() { Invalidate(); }

void WinControl::FontChanged() {
  if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), TRUE);
}

void WinControl::Realign() {
  RECT client{0, 0, Width(), Height()};
  if (hwnd_) GetClientRect(hwnd_, &client);
  for (Control* child : children_) {
    if (child->GetAlign() == Align::Client) child->SetBounds(0, 0, client.right, client.bottom);
    else if (child->GetAlign() == Align::Bottom)
      child->SetBounds(0, client.bottom - child->Height(), client.right, child->Height());
  }
}

bool WinControl::BroadcastDialogChar(char ch) {
  for (Control* child : std::vector<Control*>(children_)) {
    if (!child->Visible()) continue;
    if (child->DialogChar(ch)) return true;
    if (auto* windowed = dynamic_cast<WinControl*>(child); windowed && windowed->BroadcastDialogChar(ch)) return true;
  }
  return false;
}

GraphicControl* WinControl::GraphicAt(POINT point, bool enabledOnly) const {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    auto* graphic = dynamic_cast<GraphicControl*>(*it);
    if (!graphic || !graphic->Visible() || (enabledOnly && !graphic->Enabled())) continue;
    RECT r = graphic->BoundsRect();
    if (PtInRect(&r, point)) return graphic;
  }
  return nullptr;
}

void WinControl::PaintBackground(HDC dc, const RECT& area) {
  OwnedBrush brush(CreateSolidBrush(ColorToRGB(GetColor())));
  FillRect(dc, &area, brush.get());
}

void WinControl::PaintWindow(HDC dc, const RECT& area) {
  PaintBackground(dc, area);
  for (Control* child : children_) {
    auto* graphic = dynamic_cast<GraphicControl*>(child);
    if (!graphic || !graphic->Visible()) continue;
    RECT bounds = graphic->BoundsRect(), overlap;
    if (!IntersectRect(&overlap, &bounds, &area)) continue;
    SavedDC saved(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
    Canvas canvas(dc);
    graphic->Paint(canvas);
  }
}

void WinControl::UpdateHover(POINT point) {
  GraphicControl* target = GraphicAt(point, false);
  if (target == hovered_) return;
  GraphicControl* previous = hovered_;
  hovered_ = target;
  if (previous) previous->MouseLeave();
  if (hovered_ && hovered_ == target) hovered_->MouseEnter();
}

bool WinControl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  auto local = [&](GraphicControl* c) { return POINT{point.x - c->Left(), point.y - c->Top()}; };
  switch (message) {
    case WM_MOUSEMOVE: {
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track);
      }
      UpdateHover(point);
      GraphicControl* target = captured_ ? captured_ : GraphicAt(point, true);
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
      GraphicControl* target = captured_ ? captured_ : GraphicAt(point, true);
      if (!target) return false;
      if (target->CapturesMouse()) {
        captured_ = target;
        SetCapture(hwnd_);
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
      GraphicControl* target = captured_ ? captured_ : GraphicAt(point, true);
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && captured_) {
        captured_ = nullptr;
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      if (!target) return false;
      MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                           : message == WM_RBUTTONUP ? MouseButton::Right
                                                     : MouseButton::Middle;
      target->HandleMouseUp(button, wParam, local(target));
      return true;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) captured_ = nullptr;
      return false;
  }
  return false;
}

bool WinControl::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      result = AnswerColorRequest(reinterpret_cast<HDC>(wParam), GetColor());
      return true;
  }
  return false;
}

LRESULT WinControl::AnswerColorRequest(HDC dc, Color background) {
  SetTextColor(dc, ColorToRGB(GetFont().GetColor()));
  SetBkColor(dc, ColorToRGB(background));
  if (!background_ || backgroundColor_ != background) {
    background_.reset(CreateSolidBrush(ColorToRGB(background)));
    backgroundColor_ = background;
  }
  return reinterpret_cast<LRESULT>(background_.get());
}

LRESULT WinControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return subclassed_ ? DefSubclassProc(hwnd_, message, wParam, lParam)
                     : DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT WinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Notifications and colour requests go back to the child that sent them.
  HWND from = nullptr;
  switch (message) {
    case WM_COMMAND: from = reinterpret_cast<HWND>(lParam); break;
    case WM_NOTIFY: from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom; break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: from = reinterpret_cast<HWND>(lParam); break;
    case WM_DRAWITEM: from = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
  }
  if (from && from != hwnd_) {
    if (WinControl* child = FromHandle(from)) {
      LRESULT result = 0;
      if (child->Reflected(message, wParam, lParam, result)) return result;
    }
  }
  if (!subclassed_) {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints everything, through a buffer
      case WM_PAINT: {
        PaintDC paint(hwnd_);
        const RECT& area = paint.area();
        int w = area.right - area.left, h = area.bottom - area.top;
        if (w <= 0 || h <= 0) return 0;
        auto paintThrough = [&](HDC buffer) {
          SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
          PaintWindow(buffer, area);
          SetViewportOrgEx(buffer, 0, 0, nullptr);
          BitBlt(paint.get(), area.left, area.top, w, h, buffer, 0, 0, SRCCOPY);
        };
        PaintBuffer& shared = SharedPaintBuffer();
        if (HDC buffer = shared.Acquire(paint.get(), w, h)) {
          RunThenAlways([&] { paintThrough(buffer); }, [&] { shared.Release(); });
          return 0;
        }
        MemoryDC buffer(paint.get());
        OwnedBitmap bitmap(CreateCompatibleBitmap(paint.get(), w, h));
        ScopedSelect select(buffer.get(), bitmap.get());
        paintThrough(buffer.get());
        return 0;
      }
      case WM_MOUSEMOVE:
      case WM_MOUSELEAVE:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
      case WM_CAPTURECHANGED:
        if (RouteMouse(message, wParam, lParam)) return 0;
        break;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

LRESULT WinControl::SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return WndProc(message, wParam, lParam);
  } catch (...) {
    Application::Instance().HandleException();
    return 0;
  }
}

LRESULT CALLBACK WinControl::OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* control = static_cast<WinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    control->hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProperty, control);
  }
  WinControl* control = FromHandle(hwnd);
  if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropA(hwnd, kObjectProperty);
    control->hwnd_ = nullptr;
    control->hovered_ = control->captured_ = nullptr;
    control->trackingLeave_ = false;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return control->SafeWndProc(message, wParam, lParam);
}

LRESULT CALLBACK WinControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
  auto* control = reinterpret_cast<WinControl*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, 1);
    RemovePropA(hwnd, kObjectProperty);
    control->hwnd_ = nullptr;
    control->subclassed_ = false;
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return control->SafeWndProc(message, wParam, lParam);
}

}  // namespace gui
