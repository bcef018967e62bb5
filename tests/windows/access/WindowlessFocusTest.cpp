// The bar's windowless buttons in the program's own process: tab stops, keyboard presses, accessible objects.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>
#include <string>
#include <vector>
#include "access/ScreenReader.h"
#include "controls/FxSpeedButton.h"
#include "gui/button/Button.h"
#include "gui/core/Accelerator.h"
#include "gui/core/Application.h"
#include "gui/core/Form.h"
#include "shell/NVI_ButtonBar.h"

namespace {

class BarInAForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { static gui::Application application; }
  void SetUp() override {
    form.SetClientSize(400, 100);
    field.SetBounds(10, 10, 80, 25);
    field.SetTabStop(true);
    bar.SetBounds(0, 60, 400, tNvButtonBar::kHeight);
    bar.AddButtonLeft("&Exit", 1, 1, [this] { clicks.push_back("Exit"); });
    bar.AddButtonRight("&Next", 2, 1, [this] { clicks.push_back("Next"); });
    bar.AddButtonRight("&Previous", 3, 1, [this] { clicks.push_back("Previous"); });
    form.Handle();
  }
  TFxSpeedButton& Exit() { return *bar.LeftButtons[0]; }
  TFxSpeedButton& Next() { return *bar.RightButtons[0]; }
  TFxSpeedButton& Previous() { return *bar.RightButtons[1]; }
  std::vector<gui::GraphicControl*> BarStops() {
    std::vector<gui::GraphicControl*> stops;
    for (const gui::FocusStop& stop : form.FocusStopsInside()) {
      if (stop.window == &bar) stops.push_back(stop.windowless);
      else EXPECT_EQ(stop.window, &field);
    }
    return stops;
  }

  gui::Form form;
  gui::Button& field = form.Add<gui::Button>("&Field");
  tNvButtonBar& bar = form.Add<tNvButtonBar>();
  std::vector<std::string> clicks;
};

}  // namespace

TEST(Accelerators, CaptionsAsReadAloudAndTheirShortcuts) {
  struct Case {
    const char* caption;
    const char* name;
    const char* shortcut;
  } cases[] = {
      {"&Next", "Next", "Alt+N"},        {"E&xit", "Exit", "Alt+X"},     {"Run &twinsift", "Run twinsift", "Alt+T"},
      {"Save && quit", "Save & quit", ""}, {"OK", "OK", ""},             {"A && &B", "A & B", "Alt+B"},
      {"Trailing&", "Trailing&", ""},    {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gui::WithoutAccelerator(c.caption), c.name) << c.caption;
    EXPECT_EQ(gui::ShortcutOf(c.caption), c.shortcut) << c.caption;
  }
}

TEST_F(BarInAForm, TabVisitsTheLaidButtonsLeftToRightAfterThePagesControls) {
  std::vector<gui::GraphicControl*> expected{&Exit(), &Previous(), &Next()};
  EXPECT_EQ(BarStops(), expected);
  EXPECT_EQ(form.FocusStopsInside().front().window, &field) << "the page's own controls first";
  Previous().SetEnabled(false);
  expected = {&Exit(), &Next()};
  EXPECT_EQ(BarStops(), expected) << "a disabled button is passed over";
  bar.ClearButtons();
  EXPECT_TRUE(BarStops().empty()) << "buttons of no page";
  bar.AddButtonLeft("&Exit", 1, 1, nullptr);
  bar.SetVisible(false);
  EXPECT_TRUE(BarStops().empty()) << "a hidden bar";
}

TEST_F(BarInAForm, SpaceAndEnterPressTheFocusedButtonOnlyWhileItCanBePressed) {
  bar.Host().SetFocused(&Next());
  EXPECT_TRUE(bar.Host().RouteKey(VK_SPACE));
  EXPECT_TRUE(bar.Host().RouteKey(VK_RETURN));
  EXPECT_FALSE(bar.Host().RouteKey('N')) << "other keys go on as before";
  EXPECT_EQ(clicks, (std::vector<std::string>{"Next", "Next"}));
  EXPECT_FALSE(Next().Down()) << "drawn up again after the press";
  Next().SetEnabled(false);
  EXPECT_EQ(bar.Host().Focused(), nullptr) << "a disabled button loses the focus";
  EXPECT_FALSE(bar.Host().RouteKey(VK_SPACE));
  bar.Host().SetFocused(&Exit());
  bar.ClearButtons();
  EXPECT_EQ(bar.Host().Focused(), nullptr) << "a button laid away loses the focus";
  EXPECT_FALSE(bar.Host().RouteKey(VK_SPACE));
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(BarInAForm, ObjectsInTheSameProcessDescribeTheButtonsAndGoStaleWithTheirLaying) {
  reader::ComApartment com;
  reader::Object client = reader::Object::ClientOf(bar.Handle());
  ASSERT_TRUE(client);
  Previous().SetEnabled(false);
  std::vector<reader::Object> buttons = client.Children();
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0].Name(), "Exit");
  EXPECT_EQ(buttons[1].Name(), "Previous");
  EXPECT_EQ(buttons[1].State() & STATE_SYSTEM_UNAVAILABLE, STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(buttons[2].Name(), "Next");
  EXPECT_EQ(buttons[2].State() & STATE_SYSTEM_UNAVAILABLE, 0);
  EXPECT_EQ(buttons[2].Shortcut(), "Alt+N");

  EXPECT_EQ(buttons[2].DoDefaultAction(), S_OK);
  EXPECT_TRUE(clicks.empty()) << "posted: the call returns before the click";
  gui::Application::Instance().ProcessMessages();
  EXPECT_EQ(clicks, std::vector<std::string>{"Next"}) << "the click came as the mouse's";

  bar.ClearButtons();
  bar.AddButtonRight("&Next", 2, 1, nullptr);
  EXPECT_EQ(buttons[2].NameResult(), CO_E_OBJNOTCONNECTED) << "the same stock button, laid again";
  EXPECT_EQ(client.Children().size(), 1u) << "the window's own object follows the new laying";
}
