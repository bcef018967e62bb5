#include <cstdio>
#include <string>
#include <vector>
#include "access/ScreenReader.h"
#include "e2e/InstalledFiles.h"
#include "e2e/SetupHarness.h"

namespace {

constexpr const char* kRefusal =
    "You can only install Twinsift in case you agree to this statement.\r"
    "Check the checkbox to confirm.\rOtherwise please press Exit.";

struct Event {
  DWORD event;
  HWND window;
  LONG object, child;
};
std::vector<Event> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  g_events.push_back({event, window, object, child});
}

class AccessibleWizardTest : public SetupTest {
 protected:
  static constexpr const char* kInstallDir = "C:\\TwinsiftAccess\\";
  void TearDown() override {
    SetupTest::TearDown();
    e2e::Installation{kInstallDir}.Remove();
  }

  reader::ComApartment com;

  reader::Object BarObject() { return reader::Object::ClientOf(Bar()); }
  reader::Object Button(const std::string& name) { return BarObject().FindButton(name); }
  // Presses a bar button as a screen reader does: the call comes back at once, the click follows.
  void Press(const std::string& name) {
    reader::Object button = Button(name);
    ASSERT_TRUE(button) << "no button " << name;
    EXPECT_EQ(button.DoDefaultAction(), S_OK);
  }
  // Waits with the test's own messages served, so that out-of-context events arrive.
  static bool WaitServing(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      if (condition()) return true;
      if (GetTickCount64() > end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  RECT BarPlace(int left, int width) {
    RECT bar = e2e::ClientRectOnScreen(Bar());
    return RECT{bar.left + left, bar.top + 4, bar.left + left + width, bar.top + 27};
  }
  void AnswerBox(const std::string& text) {
    auto box = e2e::WaitForMessageBox(setup.Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, text);
    e2e::AnswerMessageBox(box->window);
    ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(setup.Id()); }));
  }
  // The row of pixels where the focus rectangle's top edge runs inside the button at left.
  std::vector<COLORREF> InnerRow(int left) {
    std::vector<COLORREF> row;
    for (int x = left + 3; x < left + 20; ++x) row.push_back(e2e::PixelAt(Bar(), x, 4 + 3));
    return row;
  }
  bool FocusedByReader(const std::string& name) {
    return e2e::WaitFor([&] {
      long state = Button(name).State();
      return state > 0 && (state & STATE_SYSTEM_FOCUSED);
    }, 2000);
  }
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(AccessibleWizardTest, WelcomeAndCompletionPagesReadAsAScreenReaderReadsThem) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  reader::Object client = reader::Object::ClientOf(window);
  ASSERT_TRUE(client) << "no object from another process";
  std::printf("welcome page:\n%s", reader::Read(client).c_str());
  EXPECT_EQ(client.Name(), "Install Twinsift 1.2");
  std::vector<reader::Object> parts = client.Children();
  ASSERT_EQ(parts.size(), 4u) << "icon, header, pages, bar";
  EXPECT_EQ(parts[0].Role(), ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(parts[0].Name(), "");
  EXPECT_EQ(parts[1].Name(), "Welcome") << "the header names the page";

  std::vector<reader::Object> buttons = BarObject().Children();
  ASSERT_EQ(buttons.size(), 2u) << "only the laid buttons";
  struct Expected {
    const char* name;
    const char* shortcut;
    int left;
  } expected[] = {{"Exit", "Alt+E", 5}, {"Next", "Alt+N", 618}};
  for (size_t i = 0; i < buttons.size(); ++i) {
    const reader::Object& button = buttons[i];
    EXPECT_EQ(button.Role(), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(button.Name(), expected[i].name);
    EXPECT_EQ(button.Shortcut(), expected[i].shortcut);
    EXPECT_EQ(button.DefaultAction(), "Press");
    EXPECT_EQ(button.State() & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSED), 0) << expected[i].name;
    RECT r = button.Location();
    EXPECT_TRUE(SameRect(r, BarPlace(expected[i].left, r.right - r.left)))
        << expected[i].name << " at " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_EQ(r.bottom - r.top, 23);
  }
  // The labels of the page, in reading order.
  std::string tree = reader::Read(client);
  EXPECT_NE(tree.find("static text \"Thank you for installing Twinsift\""), std::string::npos);

  Press("Next");
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  e2e::Click(PageControl("Button"), 8, 12);
  Press("Next");
  ASSERT_TRUE(WaitForPage("Choose installation directory"));
  SendMessageA(PageControl("Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kInstallDir));
  Press("Next");
  ASSERT_TRUE(WaitForPage("Ready to install"));
  Press("Install Now");
  ASSERT_TRUE(WaitForPage("Installation completed", 30000));
  client = reader::Object::ClientOf(window);
  std::printf("completion page:\n%s", reader::Read(client).c_str());
  EXPECT_EQ(client.Children()[1].Name(), "Installation completed");
}

TEST_F(AccessibleWizardTest, PressOnNextWalksTheWizardThroughTheSameRefusals) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  Press("Next");
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  Press("Next");
  AnswerBox(kRefusal);
  EXPECT_EQ(HeaderText(), "Disclaimer") << "refused as the mouse's click is";
  e2e::Click(PageControl("Button"), 8, 12);
  Press("Next");
  ASSERT_TRUE(WaitForPage("Choose installation directory"));
  Press("Next");
  ASSERT_TRUE(WaitForPage("Ready to install"));
}

TEST_F(AccessibleWizardTest, AButtonOfAnEarlierLayingIsNoLongerConnected) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  reader::Object next = Button("Next");
  ASSERT_TRUE(next);
  EXPECT_EQ(next.NameResult(), S_OK);
  EXPECT_EQ(next.DoDefaultAction(), S_OK);
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  EXPECT_EQ(next.NameResult(), CO_E_OBJNOTCONNECTED) << "the bar was laid again: the same stock button, a new laying";
  EXPECT_EQ(next.DoDefaultAction(), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(HeaderText(), "Disclaimer") << "a stale object presses nothing";
  reader::Object fresh = Button("Next");
  EXPECT_EQ(fresh.NameResult(), S_OK);
}

TEST_F(AccessibleWizardTest, APageChangeAndTheKeyboardAreAnnounced) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  g_events.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, RecordEvent,
                                       setup.Id(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  HWND bar = Bar(), header = Header();
  auto seen = [&](DWORD event, HWND window) {
    for (const Event& e : g_events)
      if (e.event == event && e.window == window && e.object == OBJID_CLIENT) return true;
    return false;
  };
  Press("Next");
  EXPECT_TRUE(WaitServing([&] { return seen(EVENT_OBJECT_REORDER, bar); }, 8000)) << "the bar's new buttons";

  EXPECT_TRUE(WaitServing([&] { return seen(EVENT_OBJECT_NAMECHANGE, header); }, 8000)) << "the header's new name";
  ASSERT_TRUE(WaitForPage("Disclaimer"));

  // Tab from the agreement box reaches the bar: a focus event names the button.
  g_events.clear();
  e2e::PressKey(VK_TAB);
  EXPECT_TRUE(WaitServing([&] { return seen(EVENT_OBJECT_FOCUS, bar); }, 3000));
  UnhookWinEvent(hook);
  // The system announces the bar's window first; the button's own event comes last, as a reader takes it.
  ASSERT_FALSE(g_events.empty());
  const Event last = g_events.back();
  ASSERT_EQ(last.event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
  ASSERT_EQ(last.window, bar);
  EXPECT_NE(last.child, CHILDID_SELF);
  IAccessible* object = nullptr;
  VARIANT child;
  ASSERT_EQ(AccessibleObjectFromEvent(last.window, static_cast<DWORD>(last.object), static_cast<DWORD>(last.child),
                                      &object, &child), S_OK);
  reader::Object focused(object);
  BSTR name = nullptr;
  ASSERT_EQ(object->get_accName(child, &name), S_OK);
  EXPECT_STREQ(name, L"Exit");
  SysFreeString(name);
}

TEST_F(AccessibleWizardTest, TabReachesTheBarAfterThePageAndSpacePressesNext) {
  GoToTerms();
  HWND box = PageControl("Button");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusedWindow(window) == box; }, 2000));
  std::vector<COLORREF> exitBefore = InnerRow(5);
  e2e::PressKey(VK_TAB);
  EXPECT_TRUE(FocusedByReader("Exit")) << "the bar's first button after the page's only tab stop";
  EXPECT_TRUE(e2e::WaitFor([&] { return InnerRow(5) != exitBefore; }, 2000))
      << "the dotted focus rectangle inside the face";
  e2e::PressKey(VK_TAB, false, true);
  EXPECT_TRUE(e2e::WaitFor([&] { return e2e::FocusedWindow(window) == box; }, 2000)) << "back to the page";
  EXPECT_TRUE(e2e::WaitFor([&] { return InnerRow(5) == exitBefore; }, 2000)) << "no focus, the face as it was";
  e2e::PressKey(VK_SPACE);  // ticks the box
  e2e::PressKey(VK_TAB, false, true);
  EXPECT_TRUE(FocusedByReader("Next")) << "Shift+Tab from the page's first stop wraps to the bar's last button";
  e2e::PressKey(VK_SPACE);
  ASSERT_TRUE(WaitForPage("Choose installation directory"));
}

TEST_F(AccessibleWizardTest, PressDuringAPageChangeIsHeldAsTheMousesClickIs) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  HWND bar = Bar();  // found by its place, which it leaves while the parts slide
  Press("Next");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::SetupBusy(window); }, 3000));
  reader::Object next = reader::Object::ClientOf(bar).FindButton("Next");
  ASSERT_TRUE(next);
  EXPECT_EQ(next.DoDefaultAction(), S_OK);  // would ask for the agreement on the terms page if it came through
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  EXPECT_FALSE(e2e::WaitForMessageBox(setup.Id(), 1500)) << "a Press during the change went through";
}
