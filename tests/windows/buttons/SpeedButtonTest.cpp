#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ButtonTestSupport.h"
#include "controls/FxSpeedButton.h"
#include "gui/action/Action.h"
#include "gui/core/Canvas.h"
#include "gui/menu/PopupMenu.h"

namespace {

// A button on a display of a chosen colour depth, counting its paints.
class ProbeButton : public TFxSpeedButton {
 public:
  using TFxSpeedButton::TFxSpeedButton;
  int bitsPerPixel = 32;
  int paints = 0;
  void Paint(gui::Canvas& canvas) override {
    ++paints;
    TFxSpeedButton::Paint(canvas);
  }

 protected:
  int DeviceBitsPerPixel() const override { return bitsPerPixel; }
};

class RecordingMenu : public gui::PopupMenu {
 public:
  std::vector<std::string>* log = nullptr;
  POINT shownAt{};
  void Popup(int x, int y) override {
    shownAt = {x, y};
    log->push_back("menu");
  }
};

class SpeedButton : public testing::Test {
 protected:
  ButtonHost host;
  ProbeButton& Make(int left = 10, int top = 10) {
    auto& button = host.panel->Add<ProbeButton>();
    button.SetBounds(left, top, 90, 23);
    return button;
  }
  static void Press(gui::GraphicControl& b, gui::MouseButton which = gui::MouseButton::Left) {
    b.HandleMouseDown(which, which == gui::MouseButton::Left ? MK_LBUTTON : MK_RBUTTON, {5, 5});
  }
  static void Release(gui::GraphicControl& b, gui::MouseButton which = gui::MouseButton::Left) {
    b.HandleMouseUp(which, 0, {5, 5});
  }
};

}  // namespace

TEST_F(SpeedButton, BothConstructorsStartAsNormalStyle) {
  auto& a = host.panel->Add<TFxSpeedButton>();
  EXPECT_EQ(a.Style(), bsNormal);
  EXPECT_EQ(a.Alignment(), taLeftJustify);
  EXPECT_TRUE(a.ParentColor());
  EXPECT_EQ(a.GetColor(), host.panel->GetColor());
  auto& b = host.panel->Add<TFxSpeedButton>(0, 10, 10, 0x123456, 0x654321);
  EXPECT_EQ(b.Style(), bsNormal);
  EXPECT_EQ(b.Alignment(), taCenter);
  EXPECT_EQ(b.BoundsRect().right, 10);
  EXPECT_FALSE(b.ParentColor());
}

TEST_F(SpeedButton, RadioGroupAndAllowAllUp) {
  ProbeButton* group[3] = {&Make(0), &Make(100), &Make(200)};
  ProbeButton& loner = Make(300);
  for (auto* b : group) b->SetGroupIndex(1);
  loner.SetDown(true);  // another group is left alone
  Press(*group[0]);
  Release(*group[0]);
  EXPECT_TRUE(group[0]->Down()) << "a grouped button stays down after release";
  Press(*group[1]);
  EXPECT_FALSE(group[0]->Down());
  EXPECT_TRUE(group[1]->Down());
  EXPECT_TRUE(loner.Down());
  Press(*group[1]);
  EXPECT_TRUE(group[1]->Down()) << "pressing the down one keeps it down";
  group[1]->SetAllowAllUp(true);
  Press(*group[1]);
  EXPECT_FALSE(group[1]->Down());
  group[2]->SetDown(true);
  group[0]->SetDown(true);
  EXPECT_FALSE(group[2]->Down());
}

TEST_F(SpeedButton, PressReleaseAndDoubleClick) {
  ProbeButton& b = Make();
  std::vector<std::string> log;
  b.OnClick = [&](gui::Control&) { log.push_back("click"); };
  b.OnMouseDown = [&](gui::Control&, gui::MouseButton, gui::ShiftState, int, int) {
    log.push_back(std::string("down:") + (b.Down() ? "was down" : "was up"));
  };
  b.OnMouseUp = [&](gui::Control&, gui::MouseButton, gui::ShiftState, int, int) { log.push_back("up"); };
  Press(b, gui::MouseButton::Right);
  EXPECT_FALSE(b.Down()) << "only the left button presses";
  Release(b, gui::MouseButton::Right);
  Press(b);
  EXPECT_TRUE(b.Down());
  Release(b);
  EXPECT_FALSE(b.Down());
  b.HandleDoubleClick(MK_LBUTTON, {5, 5});
  EXPECT_TRUE(b.Down());
  Release(b);
  EXPECT_EQ(log, (std::vector<std::string>{"down:was up", "up", "down:was up", "click", "up", "down:was up", "click",
                                           "up"}));
}

TEST_F(SpeedButton, AcceleratorDrawsDownClicksAndRestores) {
  ProbeButton& b = Make();
  b.SetCaption("&Next");
  std::vector<bool> downAtClick;
  b.OnClick = [&](gui::Control&) { downAtClick.push_back(b.Down()); };
  b.paints = 0;
  EXPECT_FALSE(b.DialogChar('x'));
  EXPECT_TRUE(b.DialogChar('n'));
  EXPECT_TRUE(b.DialogChar('N'));
  EXPECT_EQ(downAtClick, (std::vector<bool>{true, true}));
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(b.paints, 4);
  b.SetCaption("Fish && &Chips");
  EXPECT_FALSE(b.DialogChar('&'));
  EXPECT_TRUE(b.DialogChar('c'));
  b.SetEnabled(false);
  EXPECT_FALSE(b.DialogChar('c'));
  b.SetEnabled(true);
  b.SetVisible(false);
  EXPECT_FALSE(b.DialogChar('c'));
  b.SetVisible(true);
  // Through the form, as the message loop offers it.
  EXPECT_TRUE(host.form->BroadcastDialogChar('C'));
  EXPECT_EQ(downAtClick.size(), 4u);
}

TEST_F(SpeedButton, PopupMenuShowsAtTheLowerLeftCornerBeforeOnClick) {
  ProbeButton& b = Make(30, 40);
  std::vector<std::string> log;
  RecordingMenu menu;
  menu.log = &log;
  b.SetPopupMenu(&menu);
  b.OnClick = [&](gui::Control&) { log.push_back("click"); };
  Press(b);
  Release(b);
  EXPECT_EQ(log, (std::vector<std::string>{"menu", "click"}));
  POINT expected{30, 40 + 23};
  ClientToScreen(host.panel->Handle(), &expected);
  EXPECT_EQ(menu.shownAt.x, expected.x);
  EXPECT_EQ(menu.shownAt.y, expected.y);
}

TEST_F(SpeedButton, ColourPresetsAreWrittenButNotRecorded) {
  struct Row {
    TFxColorStyle preset;
    gui::Color color, light, shadow, whenDown, hot;
    bool flat;
    TFxSpeedButtonStyle style;
    gui::Color font;
  };
  const Row rows[] = {
      {fcsGold, 0x00C0C0, 0x00FFFF, 0x008080, gui::clNone, 0x00DFDF, false, bsModern, 0},
      {fcsUltraFlat1, gui::clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal, 0},
      {fcsQuicken, 0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, bsQuicken, 0xFFFFFF},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "preset " << r.preset);
    ProbeButton& b = Make();
    b.bitsPerPixel = 8;  // presets bypass the colour-depth fallback
    b.SetFlat(true);
    b.GetFont().SetColor(0x00FF00);
    b.paints = 0;
    b.SetColorStyle(r.preset);
    EXPECT_EQ(b.ColorStyle(), fcsCustom);
    EXPECT_EQ(b.GetColor(), r.color);
    EXPECT_EQ(b.LightColor(), r.light);
    EXPECT_EQ(b.ShadowColor(), r.shadow);
    EXPECT_EQ(b.ColorWhenDown(), r.whenDown);
    EXPECT_EQ(b.HotTrackColor(), r.hot);
    EXPECT_EQ(b.Flat(), r.flat);
    EXPECT_EQ(b.Style(), r.style);
    EXPECT_EQ(b.GetFont().GetColor(), r.font);
    EXPECT_EQ(b.paints, 1);
  }
  ProbeButton& custom = Make();
  custom.SetLightColor(0x123456);
  custom.SetColorStyle(fcsCustom);
  EXPECT_EQ(custom.LightColor(), 0x123456u);
}

TEST_F(SpeedButton, ModernFallsBackToNormalOnAPaletteDisplayOutsideDesignMode) {
  struct Case { int bits; bool design; TFxSpeedButtonStyle stored; };
  for (Case c : {Case{8, false, bsNormal}, Case{4, false, bsNormal}, Case{16, false, bsModern},
                 Case{8, true, bsModern}}) {
    ProbeButton& b = Make();
    b.bitsPerPixel = c.bits;
    b.SetDesignMode(c.design);
    b.SetStyle(bsModern);
    EXPECT_EQ(b.Style(), c.stored) << c.bits << " bits, design " << c.design;
    b.SetStyle(bsOld);
    EXPECT_EQ(b.Style(), bsOld);
  }
}

TEST_F(SpeedButton, RepaintRulePaintsAtOnceUnlessTransparent) {
  ProbeButton& b = Make();
  ButtonHost::Pump();
  b.paints = 0;
  b.SetLightColor(0x00FF00);
  EXPECT_EQ(b.paints, 1);
  b.SetTransparent(true);
  EXPECT_EQ(b.paints, 1);
  b.SetShadowColor(0x00FF00);
  EXPECT_EQ(b.paints, 1) << "a transparent button waits for its parent";
  ButtonHost::PumpUntil([&] { return b.paints > 1; }, 1000);
  EXPECT_EQ(b.paints, 2) << "one deferred paint";
}

TEST_F(SpeedButton, GlyphSetsNumGlyphsAndActionMakesAOneCellGlyph) {
  ProbeButton& b = Make();
  gui::Bitmap strip(32, 8);
  b.SetGlyph(&strip);
  EXPECT_EQ(b.NumGlyphs(), 4);
  gui::Bitmap tall(8, 0);
  b.SetGlyph(&tall);
  EXPECT_EQ(b.NumGlyphs(), 0);
  b.SetGlyph(nullptr);
  EXPECT_TRUE(b.Glyph().Empty());

  gui::ImageList images(8, 8);
  gui::Bitmap image(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) image.SetPixel(x, y, RGB(0, 200, 0));
  image.SetPixel(0, 7, RGB(0, 0, 255));  // its transparent colour
  images.Add(image);
  gui::ActionList list;
  list.SetImages(&images);
  gui::Action action;
  action.Caption = "&Go";
  action.ImageIndex = 0;
  action.List = &list;
  int executed = 0;
  action.OnExecute = [&] { ++executed; };

  ProbeButton& withAction = Make();
  withAction.SetAction(&action);
  EXPECT_EQ(withAction.Caption(), "&Go");
  ASSERT_EQ(withAction.Glyph().Width(), 8);
  EXPECT_EQ(withAction.NumGlyphs(), 1);
  EXPECT_EQ(withAction.Glyph().Pixel(3, 3), RGB(0, 200, 0));
  EXPECT_EQ(withAction.Glyph().TransparentColor(), RGB(255, 0, 255));
  Press(withAction);
  Release(withAction);
  EXPECT_EQ(executed, 1);

  // Out of range, or a glyph already there: the glyph is left alone.
  action.ImageIndex = 1;
  ProbeButton& outOfRange = Make();
  outOfRange.SetAction(&action);
  EXPECT_TRUE(outOfRange.Glyph().Empty());
  action.ImageIndex = 0;
  ProbeButton& hasGlyph = Make();
  hasGlyph.SetGlyph(&strip);
  hasGlyph.SetAction(&action);
  EXPECT_EQ(hasGlyph.Glyph().Width(), 32);
}

TEST_F(SpeedButton, MouseEnterAndExit) {
  ProbeButton& b = Make();
  std::vector<std::string> log;
  b.OnMouseEnter = [&](gui::Control& sender) { log.push_back(&sender == &b ? "enter" : "?"); };
  b.OnMouseExit = [&](gui::Control& sender) { log.push_back(&sender == &b ? "exit" : "?"); };
  b.MouseEnter();
  EXPECT_TRUE(b.MouseInside());
  EXPECT_EQ(b.FadeLevel(), 8);
  b.MouseLeave();
  EXPECT_FALSE(b.MouseInside());
  EXPECT_EQ(b.FadeLevel(), 0) << "without SlowDecease the face resets at once";
  EXPECT_EQ(b.FadeThread(), nullptr);
  b.MouseEnter();
  b.SetEnabled(false);
  b.MouseLeave();
  EXPECT_FALSE(b.MouseInside());
  b.MouseEnter();
  EXPECT_FALSE(b.MouseInside()) << "a disabled button is not entered";
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "exit", "enter"}));
}

TEST_F(SpeedButton, WindowMessagesReachTheButtonThroughItsParent) {
  ProbeButton& b = Make(10, 10);
  b.SetCaption("&Next");
  int clicks = 0;
  b.OnClick = [&](gui::Control&) { ++clicks; };
  HWND parent = host.panel->Handle();
  SendMessageA(parent, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_TRUE(b.MouseInside());
  SendMessageA(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_TRUE(b.Down());
  SendMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(b.Down());
  SendMessageA(parent, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_TRUE(b.Down());
  SendMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 2);
  SendMessageA(parent, WM_MOUSEMOVE, 0, MAKELPARAM(300, 150));
  EXPECT_FALSE(b.MouseInside());
  // Alt+N as the message loop sees it.
  PostMessageA(parent, WM_SYSCHAR, 'n', 0);
  ButtonHost::PumpUntil([&] { return clicks == 3; }, 1000);
  EXPECT_EQ(clicks, 3);
}
