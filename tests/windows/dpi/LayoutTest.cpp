#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include "controls/FxSpeedButton.h"
#include "gui/checkbox/CheckBox.h"
#include "gui/label/Label.h"
#include "toolkit/WizardWindow.h"

namespace {

// Where the layout puts a part at 96 dpi (left, top, width, height); on the screen it must stand there
// times dpi / 96, within a pixel.
using Place = std::array<int, 4>;

void ExpectScaled(const RECT& r, const Place& place, double scale) {
  const Place actual{r.left, r.top, r.right - r.left, r.bottom - r.top};
  for (size_t i = 0; i < place.size(); ++i) EXPECT_NEAR(actual[i], place[i] * scale, 1.0) << "place " << i;
}

// Every label inside holds its whole text, measured in its own font; every check box beside its box, in
// the font its window draws with.
void ExpectTextsFit(const gui::WinControl& parent) {
  for (const gui::Control* child : parent.Controls()) {
    if (auto* windowed = dynamic_cast<const gui::WinControl*>(child)) ExpectTextsFit(*windowed);
    auto* label = dynamic_cast<const gui::Label*>(child);
    auto* box = dynamic_cast<const gui::CheckBox*>(child);
    if (!label && !box) continue;
    std::string caption = label ? label->Caption() : box->Caption();
    if (box) caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    HDC dc = GetDC(nullptr);
    HFONT font = label ? label->GetFont().Handle()
                       : reinterpret_cast<HFONT>(SendMessageW(box->HandleIfAllocated(), WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    ReleaseDC(nullptr, (SelectObject(dc, old), dc));
    RECT r = child->BoundsRect();
    const int room = r.right - r.left - (box ? GetSystemMetrics(SM_CXMENUCHECK) : 0);
    // A check box centres its text in its height, so only a label's height is held to its bounds.
    EXPECT_TRUE(text.cx <= room && (box || text.cy <= r.bottom - r.top)) << caption << ": " << text.cx << " in " << room;
  }
}

}  // namespace

TEST(DenseScreen, WizardStandsAtTheScreensScaleAndCutsNoText) {
  ASSERT_TRUE(SetProcessDPIAware());  // the programs' manifests declare it; this test has none
  const double scale = std::atoi(std::getenv("TWINSIFT_DPI") ? std::getenv("TWINSIFT_DPI") : "96") / 96.0;
  ASSERT_GT(scale, 1.25) << "the prefix was not set to a dense screen";
  WizardWindow wizard;
  TFormMain& form = *wizard.form;
  HWND window = form.Handle();
  RECT r;
  GetClientRect(window, &r);
  ExpectScaled(r, {0, 0, 780, 509}, scale);
  for (auto [part, place] : {std::pair<gui::WinControl*, Place>{&form.PnlHeader, {40, 31, 712, 41}},
                             {&form.PageControl, {40, 72, 712, 377}}, {&form.PnlButtons, {40, 451, 713, 32}}}) {
    GetWindowRect(part->Handle(), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    ExpectScaled(r, place, scale);
  }
  // The bar's outer buttons: 5 pixels in from its ends, centred in its height, 23 pixels high (at 96 dpi).
  RECT bar = form.PnlButtons.BoundsRect();
  RECT left = form.PnlButtons.LeftButtons[0]->BoundsRect(), right = form.PnlButtons.RightButtons[0]->BoundsRect();
  const int inset = bar.right - bar.left - right.right;
  ExpectScaled({left.left, left.top, left.left + inset, left.top + right.bottom - right.top}, {5, 4, 5, 23}, scale);
  for (gui::TabSheet* sheet : form.PageControl.Sheets()) {
    form.ShowPanel(sheet->Name(), false);
    ExpectTextsFit(form);
  }
}
