#include <cctype>
#include <string>
#include <vector>
#include "e2e/SetupHarness.h"

namespace {

constexpr COLORREF kNavy = 0x800000, kLime = 0x00FF00, kCream = 0xF0FBFF, kWhite = 0xFFFFFF;

struct LaidButton {
  int left, width;
};

bool FolderExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class PagesTest : public SetupTest {
 protected:
  // Each laid button: navy face inside a lime frame, white bold caption, cream bar around it.
  void ExpectButtons(const std::vector<LaidButton>& buttons) {
    HWND bar = Bar();
    ASSERT_NE(bar, nullptr);
    RECT r = e2e::WindowRectOnScreen(bar);
    EXPECT_EQ(r.right - r.left, 713);
    EXPECT_EQ(r.bottom - r.top, 32);
    for (const LaidButton& b : buttons) {
      SCOPED_TRACE("button at " + std::to_string(b.left));
      EXPECT_EQ(e2e::PixelAt(bar, b.left + b.width / 2, 4), kLime) << "top edge of the frame at row 4";
      EXPECT_EQ(e2e::PixelAt(bar, b.left + b.width / 2, 4 + 22), kLime) << "bottom edge at row 26";
      COLORREF seam = e2e::PixelAt(bar, b.left + 3, 4 + 5);  // the face where the second gradient begins
      EXPECT_EQ(seam & 0x00FFFF, 0u) << std::hex << seam;
      EXPECT_GE(seam, kNavy) << std::hex << seam;
      EXPECT_LE(seam, kNavy + 0x080000) << std::hex << seam;
      EXPECT_EQ(e2e::PixelAt(bar, b.left - 1, 15), kCream);
      EXPECT_EQ(e2e::PixelAt(bar, b.left + b.width, 15), kCream);
      EXPECT_EQ(e2e::PixelAt(bar, b.left + b.width / 2, 3), kCream);
      EXPECT_EQ(e2e::PixelAt(bar, b.left + b.width / 2, 27), kCream);
      int white = 0;
      for (int x = b.left + 4; x < b.left + b.width - 4; ++x)
        for (int y = 8; y < 24; ++y) white += e2e::PixelAt(bar, x, y) == kWhite;
      EXPECT_GT(white, 20) << "a white caption";
    }
  }
  void ExpectEndsByExitWritingNothing() {
    Exit();
    ASSERT_TRUE(setup.WaitForExit(10000));
    EXPECT_EQ(setup.ExitCode(), 0u);
    EXPECT_FALSE(FolderExists("C:\\Program Files\\Twinsift"));
  }
  HWND CheckBox() { return PageControl("Button"); }
  bool Ticked() { return SendMessageA(CheckBox(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  HWND Field() { return PageControl("Edit"); }
  std::string FieldText() { return e2e::WindowText(Field()); }
  void SetField(const std::string& text) {
    SendMessageA(Field(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
};

}  // namespace

TEST_F(PagesTest, WelcomePageLaysExitAndNext) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  ExpectButtons({{5, 90}, {618, 90}});
  ExpectEndsByExitWritingNothing();
}

TEST_F(PagesTest, TermsPageRefusesWithoutTheTickAndStays) {
  GoToTerms();
  ExpectButtons({{5, 90}, {618, 90}, {523, 90}});
  EXPECT_FALSE(Ticked());
  Next();
  auto box = e2e::AnswerBox(setup.Id());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Twinsift");
  EXPECT_EQ(box->text,
            "You can only install Twinsift in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit.");
  EXPECT_EQ(HeaderText(), "Disclaimer");
  ExpectEndsByExitWritingNothing();
}

TEST_F(PagesTest, TickByMouseSpaceOrAccessKeyLetsTheUserOn) {
  GoToTerms();
  e2e::Click(CheckBox(), 8, 12);
  EXPECT_TRUE(Ticked()) << "by mouse";
  e2e::PressKey(VK_SPACE);
  EXPECT_FALSE(Ticked()) << "the space bar toggles the focused box";
  e2e::PressKey('I', true);
  EXPECT_TRUE(e2e::WaitFor([&] { return Ticked(); }, 2000)) << "by its access key";
  e2e::PressKey('N', true);
  EXPECT_TRUE(WaitForPage("Choose installation directory")) << "Alt+N presses Next";
}

// A second Alt+N while the first one's change slides is not kept for the next page, where it would be refused.
TEST_F(PagesTest, AccessKeyTwiceDuringASlideMovesOnePage) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  e2e::PressKey('N', true);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::SetupBusy(window); }, 3000, 1));
  e2e::PressKey('N', true);
  e2e::Click(Header(), 300, 20);
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  Sleep(500);
  EXPECT_FALSE(e2e::FindMessageBox(setup.Id()).has_value()) << "Next on the terms page ran unasked";
  EXPECT_EQ(HeaderText(), "Disclaimer");
  ExpectEndsByExitWritingNothing();
}

TEST_F(PagesTest, PreviousAndHeaderShowTheTermsUnticked) {
  GoToDirectory();
  ExpectButtons({{5, 90}, {618, 90}, {523, 90}});
  Previous();
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  EXPECT_FALSE(Ticked());
  e2e::Click(CheckBox(), 8, 12);
  Previous();
  ASSERT_TRUE(WaitForPage("Welcome"));
  e2e::Click(Header(), 300, 20);
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  EXPECT_FALSE(Ticked());
}

TEST_F(PagesTest, DirectoryPageProposesProgramFilesAndRefusesWhatCouldMeanAnotherFolder) {
  GoToDirectory();
  EXPECT_EQ(FieldText(), "C:\\Program Files\\Twinsift\\");
  SetField(" C:");
  Next();
  auto box = e2e::WaitForMessageBox(setup.Id());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, "Invalid directory.");
  e2e::AnswerMessageBox(box->window);
  ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(setup.Id()); }));
  EXPECT_EQ(FieldText(), "C:") << "the trimmed text stays in the field";
  EXPECT_EQ(HeaderText(), "Choose installation directory");
  SetField("C:\\Apps \\Twinsift");  // a blank the file system would drop
  Next();
  box = e2e::WaitForMessageBox(setup.Id());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, "Invalid directory.");
  e2e::AnswerMessageBox(box->window);
  ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(setup.Id()); }));
  SetField("C:/Apps//Twinsift");
  Next();
  EXPECT_TRUE(WaitForPage("Ready to install"));
}

TEST_F(PagesTest, ListClicksSelectOrOpenAndTheFieldFollows) {
  GoToDirectory();
  HWND list = PageControl("ListBox");
  ASSERT_NE(list, nullptr);
  // The list shows C:\, Program Files opened, then its subdirectories.
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  ASSERT_GE(count, 2);
  e2e::Click(list, 30, 8);  // the drive's root
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(FieldText(), "C:\\Program Files\\Twinsift\\") << "a single click only selects";
  e2e::DoubleClick(list, 30, 8);
  EXPECT_TRUE(e2e::WaitFor([&] { return FieldText() == "C:\\Twinsift\\"; }, 3000)) << FieldText();
  ExpectEndsByExitWritingNothing();
}

TEST_F(PagesTest, ChoosingADriveShowsItsCurrentDirectory) {
  GoToDirectory();
  HWND drives = PageControl("ComboBox");
  ASSERT_NE(drives, nullptr);
  int count = static_cast<int>(SendMessageA(drives, CB_GETCOUNT, 0, 0));
  ASSERT_GE(count, 2) << "Wine has drives C: and Z:";
  // Choose the last drive as the user would with the drop-down list: select, then tell the page.
  SendMessageA(drives, CB_SETCURSEL, count - 1, 0);
  PostMessageA(GetParent(drives), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(drives), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(drives));
  EXPECT_TRUE(e2e::WaitFor([&] { return FieldText().rfind("Z:\\", 0) == 0; }, 3000)) << FieldText();
  std::string field = FieldText();
  EXPECT_EQ(field.back(), '\\');
  // The product folder is appended unless the drive's current directory already names it, in any letter case
  // (it is wherever the tests were started from).
  std::string lower = field;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(lower.find("twinsift"), std::string::npos) << field;
}

TEST_F(PagesTest, TypedPathIsTrimmedStoredAndKeptOnReturn) {
  GoToDirectory();
  SetField("  D:\\Apps  ");
  Next();
  ASSERT_TRUE(WaitForPage("Ready to install"));
  e2e::Click(Header(), 300, 20);
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  e2e::Click(CheckBox(), 8, 12);
  Next();
  ASSERT_TRUE(WaitForPage("Choose installation directory"));
  EXPECT_EQ(FieldText(), "D:\\Apps") << "trimmed, and unchanged once stored";
}
