#pragma once
#include <gtest/gtest.h>
#include "driver/Driver.h"

// Starts the real setup program for one test and ends it afterwards.
class SetupTest : public ::testing::Test {
 protected:
  static constexpr const char* kTitle = "Install Twinsift 1.2";

  void SetUp() override {
    setup = e2e::Process::Start(e2e::ProgramFolder() + "Install_Twinsift.exe");
    ASSERT_NE(setup.Id(), 0u) << "could not start the setup program";
    window = e2e::WaitForTopWindow(setup.Id(), kTitle);
    ASSERT_NE(window, nullptr) << "no window titled " << kTitle;
  }
  void TearDown() override { setup.Kill(); }

  // The child window whose window text is text (the header panel shows its caption so).
  HWND ChildWithText(const std::string& text) {
    for (HWND child : e2e::ChildWindows(window))
      if (e2e::WindowText(child) == text) return child;
    return nullptr;
  }

  e2e::Process setup;
  HWND window = nullptr;
};
