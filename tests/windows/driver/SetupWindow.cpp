#include "driver/SetupWindow.h"
#include "driver/Driver.h"

namespace e2e {

namespace {
// Where the window's parts stand when no slide has moved them (client coordinates of the window).
constexpr POINT kHeaderHome{40, 31};
constexpr POINT kBarHome{40, 451};
constexpr int kBarHeight = 32, kButtonHeight = 23, kGap = 5;

int WidthOfClass(int widthClass) {
  switch (widthClass) {
    case 0: return 30;
    case 1: return 90;
    case 2: return 120;
    case 3: return 200;
    default: return 99;
  }
}
}  // namespace

SetupWindow SetupWindow::Find(DWORD processId, DWORD timeoutMs) {
  return SetupWindow(WaitForTopWindow(processId, kTitle, timeoutMs));
}

HWND SetupWindow::Header() const { return VisibleChildAt(window_, kHeaderHome.x, kHeaderHome.y); }
HWND SetupWindow::Bar() const { return VisibleChildAt(window_, kBarHome.x, kBarHome.y); }
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
  RECT client{};
  GetClientRect(bar, &client);
  return PlaceOnBar(LayoutOfPage(HeaderText()), caption, client.right);
}

bool SetupWindow::Click(const std::string& caption) const {
  RECT place = ButtonRect(caption);
  if (IsRectEmpty(&place)) return false;
  e2e::Click(Bar(), (place.left + place.right) / 2, (place.top + place.bottom) / 2);
  return true;
}

BarLayout LayoutOfPage(const std::string& headerText) {
  const BarButton exit{"&Exit", 1}, next{"&Next", 1}, previous{"&Previous", 1};
  if (headerText == "Welcome") return {{exit}, {next}};
  if (headerText == "Disclaimer" || headerText == "Choose installation directory") return {{exit}, {next, previous}};
  if (headerText == "Ready to install") return {{exit}, {{"&Install Now", 2}, previous}};
  if (headerText == "Installation completed") return {{exit}, {{"&Run Twinsift", 3}}};
  return {};
}

RECT PlaceOnBar(const BarLayout& layout, const std::string& caption, int barWidth) {
  const int top = (kBarHeight - kButtonHeight) / 2;
  int x = kGap;
  for (const BarButton& button : layout.left) {
    int width = WidthOfClass(button.widthClass);
    if (button.caption == caption) return RECT{x, top, x + width, top + kButtonHeight};
    x += width + kGap;
  }
  x = barWidth - kGap;
  for (const BarButton& button : layout.right) {
    int width = WidthOfClass(button.widthClass);
    x -= width;
    if (button.caption == caption) return RECT{x, top, x + width, top + kButtonHeight};
    x -= kGap;
  }
  return RECT{};
}

}  // namespace e2e
