#pragma once
#include <gtest/gtest.h>
#include "driver/Driver.h"

// Starts the real setup program for one test and ends it afterwards.
class SetupTest : public ::testing::Test {
 protected:
  static constexpr const char* kTitle = "Install Twinsift 1.2";

  void SetUp() override {
    setup = e2e::Process::Start(ProgramPath());
    ASSERT_NE(setup.Id(), 0u) << "could not start the setup program";
    window = e2e::WaitForTopWindow(setup.Id(), kTitle);
    ASSERT_NE(window, nullptr) << "no window titled " << kTitle;
  }
  void TearDown() override { setup.Kill(); }
  // The setup program to start: the built one, unless a test runs a copy of its own.
  virtual std::string ProgramPath() { return e2e::ProgramFolder() + "Install_Twinsift.exe"; }

  // The child window whose window text is text (the header panel shows its caption so).
  HWND ChildWithText(const std::string& text) {
    for (HWND child : e2e::ChildWindows(window))
      if (e2e::WindowText(child) == text) return child;
    return nullptr;
  }

  // The child window whose top-left corner stands at (x, y) of the main window's client area.
  HWND ChildAt(int x, int y, const std::string& className = "") { return e2e::VisibleChildAt(window, x, y, className); }
  HWND Header() { return ChildAt(40, 31); }
  HWND Bar() { return ChildAt(40, 451); }
  // The visible control of a class on the current page (the first one found).
  HWND PageControl(const std::string& className) {
    for (HWND child : e2e::ChildWindows(window))
      if (IsWindowVisible(child) && e2e::ClassName(child) == className) return child;
    return nullptr;
  }
  std::string HeaderText() { return e2e::WindowText(Header()); }
  // Waits until the header reads text, which it does from the middle of the change to that page on.
  bool WaitForHeader(const std::string& text, DWORD timeoutMs = 8000) {
    return e2e::WaitFor([&] { return Header() && HeaderText() == text; }, timeoutMs);
  }
  // Waits until the window shows the page headed text and the change to it is over: slid home, the page's
  // after-show work (the installation run) returned, so that the window takes input again.
  bool WaitForPage(const std::string& text, DWORD timeoutMs = 8000) {
    // The header first: once it reads text the change has begun, so a window no longer busy has ended it.
    return e2e::WaitFor([&] { return Header() && HeaderText() == text && !e2e::SetupBusy(window); }, timeoutMs);
  }
  void ClickBar(int x) { e2e::Click(Bar(), x, 15); }
  void Exit() { ClickBar(50); }
  void Next() { ClickBar(660); }
  void Previous() { ClickBar(565); }
  void GoToTerms() {
    ASSERT_TRUE(WaitForPage("Welcome"));
    Next();
    ASSERT_TRUE(WaitForPage("Disclaimer"));
  }
  void GoToDirectory() {
    GoToTerms();
    e2e::Click(PageControl("Button"), 8, 12);
    Next();
    ASSERT_TRUE(WaitForPage("Choose installation directory"));
  }

  e2e::Process setup;
  HWND window = nullptr;
};
