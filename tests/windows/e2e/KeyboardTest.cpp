#include <string>
#include "e2e/SetupHarness.h"

namespace {

constexpr COLORREF kNavy = 0x800000;
constexpr const char* kRefusal =
    "You can only install Twinsift in case you agree to this statement.\r"
    "Check the checkbox to confirm.\rOtherwise please press Exit.";

class KeyboardTest : public SetupTest {
 protected:
  // A laid bar button draws its inner frame in its navy face when up and in the lime shadow colour when down.
  bool DrawnUp(int left) {
    return e2e::WaitFor([&] { return e2e::PixelAt(Bar(), left + 1, 15) == kNavy; }, 2000);
  }
  HWND Focused() { return e2e::FocusedWindow(window); }
  bool FocusReaches(HWND control) {
    return e2e::WaitFor([&] { return Focused() == control; }, 2000);
  }
  bool FocusShown() { return !(SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS); }
  void AnswerBox(const std::string& text) {
    auto box = e2e::AnswerBox(setup.Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, text);
  }
  HWND Drives() { return PageControl("ComboBox"); }
  HWND List() { return PageControl("ListBox"); }
  HWND Field() { return PageControl("Edit"); }
  HWND AgreementBox() { return PageControl("Button"); }
};

// The setup started with the proposed folder as its current directory, so the list shows it from the start.
class StartedInProgramFiles : public KeyboardTest {
 protected:
  void SetUp() override {
    setup = e2e::Process::Start(e2e::ProgramFolder() + "Install_Twinsift.exe", "", "C:\\Program Files");
    ASSERT_NE(setup.Id(), 0u);
    wizard = e2e::SetupWindow::Find(setup.Id());
    window = wizard.Handle();
    ASSERT_NE(window, nullptr);
  }
};

}  // namespace

TEST_F(KeyboardTest, RefusedNextLeavesTheButtonsDrawnUp) {
  GoToTerms();
  Next();
  AnswerBox(kRefusal);
  EXPECT_TRUE(DrawnUp(618)) << "Next after a refused click";
  EXPECT_TRUE(FocusReaches(AgreementBox())) << "the focus comes back from the message box";
  e2e::PressKey('N', true);
  AnswerBox(kRefusal);
  EXPECT_TRUE(DrawnUp(618)) << "Next after a refused access key";
  Previous();
  ASSERT_TRUE(WaitForPage("Welcome"));
  EXPECT_TRUE(DrawnUp(618)) << "the welcome page's Next, the same stock button";
  EXPECT_TRUE(DrawnUp(5)) << "Exit";
}

TEST_F(KeyboardTest, TabWalksEachPageInTabOrderWithTheFocusShown) {
  GoToTerms();
  HWND box = AgreementBox();
  EXPECT_TRUE(FocusReaches(box)) << "the terms page's first tab stop";
  e2e::PressKey(VK_TAB);
  EXPECT_TRUE(FocusReaches(Bar())) << "after its only tab stop, the bar's buttons";
  e2e::PressKey(VK_TAB, false, true);
  EXPECT_TRUE(FocusReaches(box)) << "and back";
  EXPECT_TRUE(FocusShown());
  e2e::PressKey(VK_SPACE);
  EXPECT_TRUE(e2e::WaitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
  e2e::PressKey('N', true);
  ASSERT_TRUE(WaitForPage("Choose installation directory"));
  HWND drives = Drives(), list = List(), field = Field();
  ASSERT_TRUE(FocusReaches(drives)) << "the directory page's first tab stop, not the hidden box";
  struct Step {
    bool shift;
    HWND reached;
  } steps[] = {{false, list},  {false, field}, {false, Bar()}, {true, field},
               {true, list},   {true, drives}, {true, Bar()},   {false, drives}};
  for (const Step& step : steps) {
    e2e::PressKey(VK_TAB, false, step.shift);
    EXPECT_TRUE(FocusReaches(step.reached))
        << (step.shift ? "Shift+Tab to " : "Tab to ") << e2e::ClassName(step.reached);
  }
  e2e::PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(list));
  e2e::PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(field));
  e2e::TypeText("abc");
  EXPECT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(field) == "abc"; }, 2000))
      << "Tab selects the field's text and typing replaces it: " << e2e::WindowText(field);
  e2e::PressKey(VK_TAB, false, true);
  ASSERT_TRUE(FocusReaches(list));
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  e2e::PressKey(VK_DOWN);
  EXPECT_TRUE(e2e::WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) != selected; }, 2000));
  EXPECT_EQ(Focused(), list) << "the list keeps its arrow keys";
}

TEST_F(StartedInProgramFiles, DirectoryPageKeepsTheFieldEmptyAndRefuses) {
  GoToDirectory();
  EXPECT_EQ(e2e::WindowText(Field()), "") << "the list showed the proposal already: no change, no field";
  Next();
  AnswerBox("Invalid directory.");
  EXPECT_EQ(HeaderText(), "Choose installation directory");
}
