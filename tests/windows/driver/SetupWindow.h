#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The setup wizard's window as a user sees it: the header with the page's title, the page's own controls and the
// bar with the page's buttons, found by their captions. Every wait waits for a state the program reaches.
namespace e2e {

class SetupWindow {
 public:
  static constexpr const char* kTitle = "Install Twinsift 1.2";

  // Waits for the setup window of the process to appear; Handle() is nullptr when none came.
  static SetupWindow Find(DWORD processId, DWORD timeoutMs = 10000);
  explicit SetupWindow(HWND window = nullptr) : window_(window) {}
  HWND Handle() const { return window_; }

  HWND Header() const;  // the header panel, where the page's title stands
  HWND Bar() const;     // the button bar
  std::string HeaderText() const;
  // The first visible control of a class on the current page ("Edit", "Button", "msctls_progress32", ...).
  HWND PageControl(const std::string& className) const;

  // True from the start of a page change to its end, the installation run included (the window publishes it).
  bool Busy() const;
  // The header reads text: a change to that page has begun (it may still be sliding or running).
  bool WaitForHeader(const std::string& text, DWORD timeoutMs = 8000) const;
  // The page headed text is in view and the change to it is over, so the window takes input again.
  bool WaitForPage(const std::string& text, DWORD timeoutMs = 8000) const;

  // Where the bar button with this caption lies on the current page, in the bar's client coordinates, as the
  // bar tells a screen reader; an empty rectangle when the page lays no such button.
  RECT ButtonRect(const std::string& caption) const;
  // Clicks the middle of the bar button with this caption; false when the page lays none.
  bool Click(const std::string& caption) const;

 private:
  HWND window_ = nullptr;
};

}  // namespace e2e
