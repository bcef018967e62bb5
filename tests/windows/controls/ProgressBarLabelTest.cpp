#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "driver/TestApplication.h"
#include "gui/core/Gdi.h"
#include "gui/form/Form.h"
#include "gui/label/Label.h"
#include "gui/progressbar/ProgressBar.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { e2e::TestApplication(); }
  gui::Form form;
};

}  // namespace

TEST_F(Controls, ProgressBarKeepsA32BitRangeBeforeAndAfterItsWindowExists) {
  auto& bar = form.Add<gui::ProgressBar>();
  bar.SetMax(2872294);
  bar.SetPosition(2000000);
  EXPECT_EQ(bar.Position(), 2000000);
  form.Handle();
  ASSERT_TRUE(bar.HandleAllocated());
  EXPECT_EQ(bar.Max(), 2872294) << "pushed into the window when it is made";
  EXPECT_EQ(bar.Position(), 2000000);
  bar.SetMax(2779640);
  EXPECT_EQ(bar.Max(), 2779640);
  EXPECT_TRUE(GetWindowLongA(bar.HandleIfAllocated(), GWL_STYLE) & PBS_SMOOTH);
}

TEST_F(Controls, ProgressBarPositionStaysInsideTheRange) {
  auto& bar = form.Add<gui::ProgressBar>();
  form.Handle();
  bar.SetMin(10);
  bar.SetMax(20);
  bar.SetPosition(25);
  EXPECT_EQ(bar.Position(), 20);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 10);
  bar.SetPosition(15);
  bar.SetMax(12);
  EXPECT_EQ(bar.Position(), 12) << "a shrinking range pulls the position in";
}

TEST_F(Controls, LabelSizesItselfToItsTextInItsFont) {
  auto& label = form.Add<gui::Label>(std::string("Warning"));
  EXPECT_EQ(label.Height(), 13) << "the window font";
  EXPECT_EQ(label.Width(), 40);
  int plain = label.Width();
  label.GetFont().SetBold(true);
  EXPECT_EQ(label.Width(), 47) << "in bold";
  EXPECT_GT(label.Width(), plain);
  label.SetCaption("100% complete");
  EXPECT_EQ(label.Width(), 85);
}

TEST_F(Controls, LabelDrawsItsTextInTheFontColourOverTheBackground) {
  form.SetClientSize(120, 40);
  form.SetColor(gui::clWhite);
  auto& label = form.Add<gui::Label>(std::string("Twinsift"));
  label.SetBounds(4, 4, 0, 0);
  label.GetFont().SetColor(0x0000FF);
  form.Show();
  gui::Application::Instance().ProcessMessages();
  HWND window = form.HandleIfAllocated();
  UpdateWindow(window);
  gui::WindowDC dc(window);
  int red = 0, other = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      COLORREF pixel = GetPixel(dc.get(), x, y);
      bool inside = x >= label.Left() && x < label.Left() + label.Width() && y >= label.Top() && y < label.Top() + label.Height();
      if (pixel == RGB(255, 0, 0)) (inside ? red : other)++;
    }
  EXPECT_GT(red, 10);
  EXPECT_EQ(other, 0);
}
