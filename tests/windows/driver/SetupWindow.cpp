#include "driver/SetupWindow.h"
#include "access/ScreenReader.h"
#include "driver/Driver.h"

namespace e2e {

namespace {
// Where the window's parts stand when no slide has moved them (client coordinates of the window).
constexpr POINT kHeaderHome{40, 31};
constexpr POINT kBarHome{40, 451};
// The window is laid out at 96 dpi and drawn at the screen's density.
HWND ChildAtHome(HWND window, POINT home) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return VisibleChildAt(window, MulDiv(home.x, dpi, 96), MulDiv(home.y, dpi, 96));
}
}  // namespace

SetupWindow SetupWindow::Find(DWORD processId, DWORD timeoutMs) {
  return SetupWindow(WaitForTopWindow(processId, kTitle, timeoutMs));
}

HWND SetupWindow::Header() const { return ChildAtHome(window_, kHeaderHome); }
HWND SetupWindow::Bar() const { return ChildAtHome(window_, kBarHome); }
std::string SetupWindow::HeaderText() const { return WindowText(Header()); }

HWND SetupWindow::PageControl(const std::string& className) const {
  for (HWND child : ChildWindows(window_))
    if (IsWindowVisible(child) && ClassName(child) == className) return child;
  return nullptr;
}

bool SetupWindow::Busy() const { return SetupBusy(window_); }

bool SetupWindow::WaitForHeader(const std::string& text, DWORD timeoutMs) const {
  return WaitFor([&] { return Header() && HeaderText() == text; }, timeoutMs);
}

bool SetupWindow::WaitForPage(const std::string& text, DWORD timeoutMs) const {
  // The header first: once it reads text the change has begun, so a window no longer busy has ended it.
  return WaitFor([&] { return Header() && HeaderText() == text && !Busy(); }, timeoutMs);
}

RECT SetupWindow::ButtonRect(const std::string& caption) const {
  HWND bar = Bar();
  if (!bar) return RECT{};
  std::string name;  // what a reader hears: the caption without its access key mark
  for (char c : caption)
    if (c != '&') name += c;
  ComApartment com;
  for (const reader::Object& button : reader::Object::ClientOf(bar).Children()) {
    if (button.Role() != ROLE_SYSTEM_PUSHBUTTON || button.Name() != name) continue;
    RECT place = button.Location();  // on the screen
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&place), 2);
    return place;
  }
  return RECT{};
}

bool SetupWindow::Click(const std::string& caption) const {
  RECT place = ButtonRect(caption);
  if (IsRectEmpty(&place)) return false;
  e2e::Click(Bar(), (place.left + place.right) / 2, (place.top + place.bottom) / 2);
  return true;
}

}  // namespace e2e
