#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include "controls/FxSpeedButton.h"
#include "gui/core/Dpi.h"
#include "gui/label/Label.h"
#include "gui/statictext/StaticText.h"
#include "toolkit/WizardWindow.h"

namespace {

// The programs declare their awareness in their manifests; this test program has none.
const bool aware = SetProcessDPIAware() != FALSE;

// The prefix's screen density is set around the run and named in TWINSIFT_TEST_DPI.
struct Density {
  int dpi;
  double scale;
};
constexpr Density kDensities[] = {{144, 1.5}, {192, 2.0}};

Density Current() {
  const char* named = std::getenv("TWINSIFT_TEST_DPI");
  for (const Density& d : kDensities)
    if (named && std::atoi(named) == d.dpi) return d;
  ADD_FAILURE() << "TWINSIFT_TEST_DPI names no density of the table";
  return {96, 1.0};
}

RECT RectIn(HWND window, HWND parent) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectScaled(const RECT& actual, int left, int top, int width, int height, double scale) {
  EXPECT_NEAR(actual.left, left * scale, 1.0);
  EXPECT_NEAR(actual.top, top * scale, 1.0);
  EXPECT_NEAR(actual.right - actual.left, width * scale, 1.0);
  EXPECT_NEAR(actual.bottom - actual.top, height * scale, 1.0);
}

// The extent of text in font; with a width, as wrapped into it.
SIZE Extent(HFONT font, const std::string& text, int wrapWidth = 0) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  if (wrapWidth) {
    RECT r{0, 0, wrapWidth, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    size = {r.right, r.bottom};
  } else {
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

void ForEachControl(const gui::WinControl& parent, const std::function<void(const gui::Control&)>& visit) {
  for (const gui::Control* child : parent.Controls()) {
    visit(*child);
    if (auto* windowed = dynamic_cast<const gui::WinControl*>(child)) ForEachControl(*windowed, visit);
  }
}

class DenseScreen : public ::testing::Test, protected WizardWindow {
 protected:
  Density density = Current();
};

}  // namespace

TEST_F(DenseScreen, WindowAndItsPartsTakeTheScreensScale) {
  ASSERT_TRUE(aware);
  EXPECT_EQ(gui::DpiOfWindow(form->Handle()), density.dpi);
  RECT client;
  GetClientRect(form->Handle(), &client);
  ExpectScaled(client, 0, 0, 780, 509, density.scale);
  HWND window = form->Handle();
  ExpectScaled(RectIn(form->PnlHeader.Handle(), window), 40, 31, 712, 41, density.scale);
  ExpectScaled(RectIn(form->PageControl.Handle(), window), 40, 72, 712, 377, density.scale);
  ExpectScaled(RectIn(form->PnlButtons.Handle(), window), 40, 451, 713, 32, density.scale);
}

TEST_F(DenseScreen, BarButtonsSitAtTheirScaledPlaces) {
  RECT bar;
  GetClientRect(form->PnlButtons.Handle(), &bar);
  int shown = 0;
  for (int i = 0; i < tNvButtonBar::kPlaces; ++i) {
    for (TFxSpeedButton* button : {form->PnlButtons.LeftButtons[i], form->PnlButtons.RightButtons[i]}) {
      if (!button->Visible()) continue;
      ++shown;
      RECT r = button->BoundsRect();
      EXPECT_NEAR(r.top, 4 * density.scale, 1.0);
      EXPECT_NEAR(r.bottom - r.top, 23 * density.scale, 1.0);
      if (button == form->PnlButtons.RightButtons[0]) EXPECT_NEAR(r.right, bar.right - 5 * density.scale, 1.0);
      if (button == form->PnlButtons.LeftButtons[0]) EXPECT_NEAR(r.left, 5 * density.scale, 1.0);
    }
  }
  EXPECT_GT(shown, 0);
}

TEST_F(DenseScreen, NoPageCutsItsTexts) {
  for (gui::TabSheet* sheet : form->PageControl.Sheets()) {
    SCOPED_TRACE(sheet->Name());
    form->ShowPanel(sheet->Name(), false);
    ForEachControl(*form, [&](const gui::Control& control) {
      RECT r = control.BoundsRect();
      if (auto* label = dynamic_cast<const gui::Label*>(&control)) {
        SIZE text = Extent(label->GetFont().Handle(), label->Caption());
        EXPECT_LE(text.cx, r.right - r.left) << label->Caption();
        EXPECT_LE(text.cy, r.bottom - r.top) << label->Caption();
      } else if (auto* wrapped = dynamic_cast<const gui::StaticText*>(&control)) {
        SIZE text = Extent(wrapped->GetFont().Handle(), wrapped->Caption(), r.right - r.left);
        EXPECT_LE(text.cy, r.bottom - r.top) << wrapped->Caption();
      }
    });
  }
}
