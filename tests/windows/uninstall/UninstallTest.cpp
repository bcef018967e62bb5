// The uninstaller's window and its confirmation, on an installation made by the test. Nothing here
// confirms with "Yes"; RemovalTest.cpp runs the removals.
#include <gtest/gtest.h>
#include <windows.h>
#include "driver/Driver.h"
#include "driver/FileTree.h"
#include "uninstall/Installation.h"

using namespace uninstall_test;

namespace {

class UninstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(kRoot);
    folders = ShellFolders::Query();
    RemoveRemoverFolders();
    MakeInstallation(false);
    rootBefore = e2e::SnapshotTree(kRoot);
    menuBefore = e2e::SnapshotTree(folders.programMenu);
  }
  void TearDown() override {
    uninstaller.Kill();
    RemoveTree(kRoot);
    RemoveTree(folders.programMenu + "\\" + kProduct);
  }
  void Start() {
    uninstaller = e2e::Process::Start(std::string(kInstallDir) + "Uninstall.Exe");
    window = e2e::WaitForTopWindow(uninstaller.Id(), std::string("Uninstall ") + kProduct);
    ASSERT_NE(window, nullptr);
    Sleep(200);
  }
  HWND Focused() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
  }
  void ExpectEverythingKept() {
    EXPECT_TRUE(e2e::TreeDifferences(rootBefore, e2e::SnapshotTree(kRoot)).empty());
    EXPECT_TRUE(e2e::TreeDifferences(menuBefore, e2e::SnapshotTree(folders.programMenu)).empty());
    EXPECT_TRUE(RemoverFolders().empty()) << "the remover was unpacked";
  }

  ShellFolders folders;
  e2e::FileTree rootBefore, menuBefore;
  e2e::Process uninstaller;
  HWND window = nullptr;
};

}  // namespace

TEST_F(UninstallerTest, ShowsTheRecordsProductWithCancelFocusedAsDefault) {
  Start();
  RECT client = e2e::ClientRectOnScreen(window);
  EXPECT_EQ(client.right - client.left, 464);
  EXPECT_EQ(client.bottom - client.top, 152);
  EXPECT_EQ(e2e::PixelAt(window, 200, 140), 0xFFFBF0u);
  HWND ok = e2e::ButtonWithText(window, "&OK");
  HWND cancel = e2e::ButtonWithText(window, "&Cancel");
  ASSERT_TRUE(ok && cancel);
  RECT r = e2e::WindowRectOnScreen(ok);
  EXPECT_EQ(r.left - client.left, 304);
  EXPECT_EQ(r.top - client.top, 119);
  EXPECT_EQ(r.right - r.left, 75);
  EXPECT_EQ(r.bottom - r.top, 25);
  r = e2e::WindowRectOnScreen(cancel);
  EXPECT_EQ(r.left - client.left, 384);
  EXPECT_EQ(Focused(), cancel);
  EXPECT_EQ(GetWindowLongA(cancel, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  // The title in red, 19 pixels high, from (52, 8).
  bool red = false;
  for (int x = 52; x < 200 && !red; ++x)
    for (int y = 8; y < 32 && !red; ++y) red = e2e::PixelAt(window, x, y) == 0x0000FFu;
  EXPECT_TRUE(red);
}

TEST_F(UninstallerTest, CancelEscAndEnterLeaveEverything) {
  struct Way {
    const char* name;
    void (*act)(HWND window);
  } ways[] = {
      {"click on &Cancel", [](HWND w) { e2e::Click(e2e::ButtonWithText(w, "&Cancel"), 30, 12); }},
      {"Esc", [](HWND) { e2e::PressKey(VK_ESCAPE); }},
      {"Enter", [](HWND) { e2e::PressKey(VK_RETURN); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Start();
    SetForegroundWindow(window);
    way.act(window);
    ASSERT_TRUE(uninstaller.WaitForExit(5000));
    EXPECT_EQ(uninstaller.ExitCode(), 0u);
    EXPECT_FALSE(e2e::FindMessageBox(uninstaller.Id()));
    ExpectEverythingKept();
  }
}

TEST_F(UninstallerTest, NoKeepsTheWindowAndOkAsksAgain) {
  Start();
  for (int round = 0; round < 2; ++round) {
    e2e::Click(e2e::ButtonWithText(window, "&OK"), 30, 12);
    auto box = e2e::WaitForMessageBox(uninstaller.Id(), 5000);
    ASSERT_TRUE(box) << "round " << round;
    EXPECT_EQ(box->caption, "Confirm");
    EXPECT_NE(box->text.find(std::string("Uninstall ") + kProduct + "."), std::string::npos) << box->text;
    EXPECT_NE(box->text.find("Sure?"), std::string::npos) << box->text;
    e2e::AnswerMessageBox(box->window, IDNO);
    ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(uninstaller.Id()); }, 5000));
    EXPECT_TRUE(uninstaller.Running());
    EXPECT_TRUE(IsWindowVisible(window));
  }
  ExpectEverythingKept();
}

TEST(UninstallerWithoutRecord, EndsAtOnceWithExitCodeZeroAndNoWindow) {
  std::string folder = std::string(kRoot) + "Lonely\\";
  RemoveTree(kRoot);
  CreateDirectoryA(kRoot, nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((e2e::ProgramFolder() + "Uninstall.exe").c_str(), (folder + "Uninstall.Exe").c_str(), FALSE));
  for (const char* state : {"missing", "a folder in its place"}) {
    SCOPED_TRACE(state);
    if (std::string(state) != "missing") CreateDirectoryA((folder + "UnInstall.dat").c_str(), nullptr);
    e2e::Process uninstaller = e2e::Process::Start(folder + "Uninstall.Exe");
    bool windowSeen = false;
    EXPECT_TRUE(e2e::WaitFor([&] {
      windowSeen = windowSeen || !e2e::TopWindows(uninstaller.Id()).empty();
      return !uninstaller.Running();
    }, 10000, 5));
    EXPECT_FALSE(windowSeen);
    EXPECT_EQ(uninstaller.ExitCode(), 0u);
  }
  RemoveTree(kRoot);
}
