#include <algorithm>
#include <vector>
#include "e2e/SetupHarness.h"

using e2e::PixelAt;

TEST_F(SetupTest, StartsAndEndsCleanlyWhenItsWindowCloses) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(setup.WaitForExit(10000));
  EXPECT_EQ(setup.ExitCode(), 0u);
}

TEST_F(SetupTest, WindowHasTheFixedDialogFrameCentredOnTheScreen) {
  RECT client = e2e::ClientRectOnScreen(window);
  EXPECT_EQ(client.right - client.left, 780);
  EXPECT_EQ(client.bottom - client.top, 509);
  RECT frame = e2e::WindowRectOnScreen(window);
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR((frame.left + frame.right) / 2, screenWidth / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, screenHeight / 2, 1);
  LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU) << "no system menu and no close box";
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

TEST_F(SetupTest, ShowsTheColouredPartsWhereTheLayoutPutsThem) {
  HWND header = ChildWithText("Welcome");
  ASSERT_NE(header, nullptr) << "the header reads Welcome from the first paint";
  RECT headerRect = e2e::WindowRectOnScreen(header), client = e2e::ClientRectOnScreen(window);
  EXPECT_EQ(headerRect.left - client.left, 40);
  EXPECT_EQ(headerRect.top - client.top, 31);
  EXPECT_EQ(headerRect.right - headerRect.left, 712);
  EXPECT_EQ(headerRect.bottom - headerRect.top, 41);
  ASSERT_TRUE(e2e::WaitFor([&] { return PixelAt(window, 20, 100) == 0xFF0000; }, 5000));
  struct Probe {
    int x, y;
    COLORREF color;
    const char* where;
  } probes[] = {
      {20, 300, 0xFF0000, "window background, blue"},
      {45, 35, 0x800000, "header, navy"},
      {45, 440, 0xF0CAA6, "page area, sky blue"},
      {60, 480, 0xF0FBFF, "button bar, cream"},
      {752, 480, 0xF0FBFF, "the bar is one pixel wider than the header"},
      {753, 480, 0xFF0000, "right of the bar"},
      {752, 50, 0xFF0000, "right of the header"},
      {45, 449, 0xFF0000, "gap above the bar"},
      {45, 483, 0xFF0000, "below the bar"},
  };
  for (const Probe& probe : probes)
    EXPECT_EQ(PixelAt(window, probe.x, probe.y), probe.color) << probe.where << " at " << probe.x << "," << probe.y;
}

TEST_F(SetupTest, FadesInToFullOpacityAndStops) {
  std::vector<int> seen;
  e2e::WaitFor(
      [&] {
        auto alpha = e2e::LayeredAlpha(window);
        int value = alpha ? *alpha : -1;
        if (seen.empty() || seen.back() != value) seen.push_back(value);
        return value == 255;
      },
      8000, 5);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 255);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  for (int value : seen) {
    if (value < 0 || value == 255) continue;
    EXPECT_EQ(value % 8, 0) << value;
    EXPECT_LE(value, 240) << "no value between 240 and 255";
  }
  EXPECT_GE(seen.size(), 10u) << "the fade is visible in steps";
  Sleep(300);
  EXPECT_EQ(e2e::LayeredAlpha(window).value_or(0), 255) << "stays layered at 255 once the timer is off";
}
