// What reaches which window, in which order, when a user clicks and tabs: the messages our layer relies on
// (reflection of notifications to the child that sent them, focus moves in tab order, the mouse routed to a
// windowless control and captured while pressed), recorded as sequences.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <map>
#include <string>
#include <vector>
#include "driver/TestApplication.h"
#include "gui/button/Button.h"
#include "gui/core/Canvas.h"
#include "gui/checkbox/CheckBox.h"
#include "gui/core/GraphicControl.h"
#include "gui/edit/Edit.h"
#include "gui/core/Form.h"

namespace {

// Writes down, for every window it watches, the messages of interest it receives, as "name:MESSAGE".
class MessageLog {
 public:
  ~MessageLog() {
    for (auto& [window, name] : names_) RemoveWindowSubclass(window, Record, reinterpret_cast<UINT_PTR>(this));
  }
  void Watch(HWND window, const std::string& name) {
    names_[window] = name;
    SetWindowSubclass(window, Record, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  }
  void Note(const std::string& entry) { entries.push_back(entry); }
  std::vector<std::string> entries;

 private:
  static const char* NameOf(UINT message, WPARAM wParam) {
    switch (message) {
      case WM_COMMAND: return HIWORD(wParam) == BN_CLICKED ? "WM_COMMAND(BN_CLICKED)" : "WM_COMMAND";
      case WM_SETFOCUS: return "WM_SETFOCUS";
      case WM_KILLFOCUS: return "WM_KILLFOCUS";
      case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
      case WM_LBUTTONUP: return "WM_LBUTTONUP";
      case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
      default: return nullptr;
    }
  }
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR self) {
    auto* log = reinterpret_cast<MessageLog*>(self);
    if (const char* name = NameOf(message, wParam)) log->entries.push_back(log->names_[window] + ":" + name);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  std::map<HWND, std::string> names_;
};

// A windowless control that says what it is told.
class Probe : public gui::GraphicControl {
 public:
  Probe(gui::WinControl* parent, MessageLog& log) : GraphicControl(parent), log_(log) {
    OnMouseDown = [this](Control&, gui::MouseButton, gui::ShiftState, int, int) { Note("down"); };
    OnMouseUp = [this](Control&, gui::MouseButton, gui::ShiftState, int, int) { Note("up"); };
    OnClick = [this](Control&) { Note("click"); };
  }
  void Paint(gui::Canvas&) override {}

 private:
  void Note(const std::string& what) {
    log_.Note("probe:" + what + (GetCapture() == Parent()->HandleIfAllocated() ? " (captured)" : ""));
  }
  MessageLog& log_;
};

class MessageSequence : public ::testing::Test {
 protected:
  MessageSequence() {
    e2e::TestApplication().OnError = [](const std::string& message) { ADD_FAILURE() << message; };
    form.SetClientSize(300, 200);
  }
  ~MessageSequence() override { e2e::TestApplication().OnError = nullptr; }
  static void Pump() { e2e::TestApplication().ProcessMessages(); }
  gui::Form form;
  MessageLog log;
};

}  // namespace

TEST_F(MessageSequence, ButtonsNotificationComesBackToTheButtonOnce) {
  auto& button = form.Add<gui::Button>("&Go");
  button.SetBounds(10, 10, 80, 25);
  auto& box = form.Add<gui::CheckBox>();
  box.SetBounds(10, 50, 120, 20);
  int clicks = 0, ticks = 0;
  button.OnClick = [&] { log.Note("button:OnClick"); ++clicks; };
  box.OnClick = [&] { log.Note("box:OnClick"); ++ticks; };
  form.Show();
  log.Watch(form.Handle(), "form");
  log.Watch(button.Handle(), "button");

  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  Pump();
  // The press takes the focus, the release lets the mouse go, and only then does the parent hear of it.
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"button:WM_LBUTTONDOWN", "form:WM_KILLFOCUS", "button:WM_SETFOCUS",
                                      "button:WM_LBUTTONUP", "button:WM_CAPTURECHANGED",
                                      "form:WM_COMMAND(BN_CLICKED)", "button:OnClick"}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ticks, 0) << "the notification went to its own control only";

  log.entries.clear();
  SendMessageA(box.Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"button:WM_KILLFOCUS", "form:WM_COMMAND(BN_CLICKED)", "box:OnClick"}));
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks, 1);
}

TEST_F(MessageSequence, TabMovesTheFocusInTabOrderAndWrapsAround) {
  auto& edit = form.Add<gui::Edit>();
  edit.SetBounds(10, 10, 100, 20);
  auto& box = form.Add<gui::CheckBox>();
  box.SetBounds(10, 40, 100, 20);
  auto& button = form.Add<gui::Button>("OK");
  button.SetBounds(10, 70, 80, 25);
  box.SetTabOrder(0);  // the box first, then the edit box and the button in creation order
  form.Show();
  log.Watch(edit.Handle(), "edit");
  log.Watch(box.Handle(), "box");
  log.Watch(button.Handle(), "button");
  SetForegroundWindow(form.Handle());
  box.SetFocus();
  Pump();
  log.entries.clear();

  auto tab = [&](bool back) {
    if (back) EXPECT_TRUE(form.SelectNext(false));
    else PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
  };
  tab(false);
  tab(false);
  tab(false);
  tab(true);
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"box:WM_KILLFOCUS", "edit:WM_SETFOCUS", "edit:WM_KILLFOCUS", "button:WM_SETFOCUS",
                                      "button:WM_KILLFOCUS", "box:WM_SETFOCUS", "box:WM_KILLFOCUS",
                                      "button:WM_SETFOCUS"}));
}

// A press and a release on the form (the click comes before the release's own event, as the framework's did), where a windowless control may lie: what the control is told, and
// whether the form holds the mouse meanwhile.
TEST_F(MessageSequence, WindowlessControlGetsThePressCapturedAndAClickOnlyWhenReleasedOnIt) {
  auto& probe = form.Add<Probe>(log);
  probe.SetBounds(20, 20, 60, 30);
  form.Show();
  log.Watch(form.Handle(), "form");
  struct Case {
    POINT press, release;
    std::vector<std::string> expected;
  } cases[] = {
      {{30, 30}, {40, 35},
       {"form:WM_LBUTTONDOWN", "probe:down (captured)", "form:WM_LBUTTONUP", "form:WM_CAPTURECHANGED",
        "probe:click", "probe:up"}},
      {{30, 30}, {200, 150},
       {"form:WM_LBUTTONDOWN", "probe:down (captured)", "form:WM_LBUTTONUP", "form:WM_CAPTURECHANGED", "probe:up"}},
      // Pressed elsewhere: the control under the released mouse hears of the release, but it was no click.
      {{200, 150}, {30, 30}, {"form:WM_LBUTTONDOWN", "form:WM_LBUTTONUP", "probe:up"}},
  };
  for (const Case& c : cases) {
    log.entries.clear();
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.press.x, c.press.y));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(c.release.x, c.release.y));
    Pump();
    EXPECT_EQ(log.entries, c.expected) << "pressed at " << c.press.x << "," << c.press.y << ", released at "
                                       << c.release.x << "," << c.release.y;
    EXPECT_EQ(GetCapture(), nullptr) << "the mouse is free again";
  }
}
