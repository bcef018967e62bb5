#pragma once
#include <gtest/gtest.h>
#include "driver/Driver.h"
#include "driver/SetupWindow.h"

// Starts the real setup program for one test and ends it afterwards; the window is worked through the page
// object, which finds the bar's buttons by their captions.
class SetupTest : public ::testing::Test {
 protected:
  static constexpr const char* kTitle = e2e::SetupWindow::kTitle;

  void SetUp() override {
    setup = e2e::Process::Start(ProgramPath());
    ASSERT_NE(setup.Id(), 0u) << "could not start the setup program";
    wizard = e2e::SetupWindow::Find(setup.Id());
    window = wizard.Handle();
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
  HWND Header() { return wizard.Header(); }
  HWND Bar() { return wizard.Bar(); }
  HWND PageControl(const std::string& className) { return wizard.PageControl(className); }
  std::string HeaderText() { return wizard.HeaderText(); }
  bool WaitForHeader(const std::string& text, DWORD timeoutMs = 8000) { return wizard.WaitForHeader(text, timeoutMs); }
  bool WaitForPage(const std::string& text, DWORD timeoutMs = 8000) { return wizard.WaitForPage(text, timeoutMs); }
  // Clicks the bar button with this caption on the current page.
  void Press(const std::string& caption) { ASSERT_TRUE(wizard.Click(caption)) << "no " << caption << " here"; }
  void Exit() { Press("&Exit"); }
  void Next() { Press("&Next"); }
  void Previous() { Press("&Previous"); }
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
  e2e::SetupWindow wizard;
  HWND window = nullptr;
};
