#include "gui/core/WinControl.h"
#include <algorithm>
#include "gui/core/Dpi.h"
#include "gui/core/GraphicControl.h"
#include "win32/TextCodes.h"

namespace gui {

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
  host_.ControlGone(child);
}

HWND WinControl::ParentHandle() { return Parent() ? Parent()->Handle() : nullptr; }

HWND WinControl::Handle() {
  if (!hwnd_) CreateHandle();
  return hwnd_;
}

void WinControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinControl::SetFocus() { ::SetFocus(Handle()); }

void WinControl::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (!hwnd_) return;
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
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

bool WinControl::ShowsInside() const {
  // A hidden or disabled container hides or disables what it holds; the top-level window itself may
  // still be on its way to the screen.
  for (const Control* c = this; c->Parent(); c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool WinControl::TakesTabStop() const { return tabStop_ && ShowsInside(); }

std::vector<FocusStop> WinControl::FocusStopsInside() const {
  std::vector<FocusStop> stops;
  for (WinControl* child : tabList_) {
    if (child->TakesTabStop()) stops.push_back({child, nullptr});
    std::vector<FocusStop> inner = child->FocusStopsInside();
    stops.insert(stops.end(), inner.begin(), inner.end());
    if (!child->ShowsInside()) continue;
    for (GraphicControl* windowless : child->WindowlessTabStops())
      if (windowless->Visible() && windowless->Enabled()) stops.push_back({child, windowless});
  }
  return stops;
}

std::string WinControl::AccessibleName() const {
  if (!hwnd_) return {};
  wchar_t text[512];
  int length = GetWindowTextW(hwnd_, text, 512);
  return win32::Utf8FromWide(std::wstring(text, static_cast<size_t>(std::max(length, 0))));
}

std::vector<Control*> WinControl::AccessibleChildren() const {
  auto before = [](const Control* a, const Control* b) {
    return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
  };
  std::vector<Control*> shown;
  for (Control* child : children_) {
    auto* windowed = dynamic_cast<WinControl*>(child);
    bool shows = windowed ? windowed->hwnd_ && IsWindowVisible(windowed->hwnd_)
                          : child->Visible() && child->Role() != AccessibleRole::None;
    if (!shows) continue;
    // A handful of children: an insertion keeps equal places in creation order without a sort's code.
    auto at = shown.end();
    while (at != shown.begin() && before(child, *(at - 1))) --at;
    shown.insert(at, child);
  }
  return shown;
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
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

void WinControl::BoundsChanged() {
  RECT r = BoundsRect();
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
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
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), TRUE);
}

void WinControl::Realign() {
  RECT client{0, 0, Width(), Height()};
  if (hwnd_) {
    GetClientRect(hwnd_, &client);
    client.right = Unscale(client.right);
    client.bottom = Unscale(client.bottom);
  }
  for (Control* child : children_) {
    if (child->GetAlign() == Align::Client) child->SetBounds(0, 0, client.right, client.bottom);
    else if (child->GetAlign() == Align::Bottom)
      child->SetBounds(0, client.bottom - child->Height(), client.right, child->Height());
  }
}

void WinControl::Rescale() {
  for (Control* child : children_) {
    child->FontChanged();
    child->BoundsChanged();
    if (auto* windowed = dynamic_cast<WinControl*>(child)) windowed->Rescale();
  }
  Invalidate();
}

bool WinControl::BroadcastDialogChar(char ch) {
  for (Control* child : std::vector<Control*>(children_)) {
    if (!child->Visible()) continue;
    if (child->DialogChar(ch)) return true;
    if (auto* windowed = dynamic_cast<WinControl*>(child); windowed && windowed->BroadcastDialogChar(ch)) return true;
  }
  return false;
}

}  // namespace gui
