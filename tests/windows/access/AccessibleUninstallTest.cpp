// The uninstaller and the remover as a screen reader meets them: read and pressed from another process.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "access/ScreenReader.h"
#include "driver/Driver.h"
#include "uninstall/Installation.h"

using namespace uninstall_test;

namespace {

class AccessibleUninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders = ShellFolders::Query();
    RemoveTree(kRoot);
    DeleteFileA((folders.temp + "\\NVUninstall.Exe").c_str());
    MakeInstallation(false);
  }
  void TearDown() override { StopAndRemove(uninstaller, remover); }
  // Milliseconds the window takes to hand over its object and say its name, the way a reader starts.
  static ULONGLONG AnswerTime(HWND window) {
    ULONGLONG start = GetTickCount64();
    reader::Object client = reader::Object::ClientOf(window);
    EXPECT_TRUE(client);
    client.Name();
    return GetTickCount64() - start;
  }

  reader::ComApartment com;
  ShellFolders folders;
  e2e::Process uninstaller;
  HANDLE remover = nullptr;
};

bool Holds(const std::string& tree, const std::string& line) { return tree.find(line) != std::string::npos; }

}  // namespace

TEST_F(AccessibleUninstallTest, OkPressedThroughItsObjectAndTheRemoverAnswersWhileItWaits) {
  uninstaller = e2e::Process::Start(std::string(kInstallDir) + "Uninstall.Exe");
  HWND window = e2e::WaitForTopWindow(uninstaller.Id(), std::string("Uninstall ") + kProduct);
  ASSERT_NE(window, nullptr);
  reader::Object client = reader::Object::ClientOf(window);
  ASSERT_TRUE(client);
  std::string tree = reader::Read(client);
  std::printf("uninstaller:\n%s", tree.c_str());
  EXPECT_TRUE(Holds(tree, "push button \"Cancel\" Alt+C focused")) << tree;
  reader::Object ok = client.FindButton("OK");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok.Shortcut(), "Alt+O");
  EXPECT_EQ(ok.DefaultAction(), "Press");
  EXPECT_EQ(ok.DoDefaultAction(), S_OK) << "returns at once, before the question is asked";
  auto box = e2e::WaitForMessageBox(uninstaller.Id(), 5000);
  ASSERT_TRUE(box) << "OK asks as when clicked";
  e2e::AnswerMessageBox(box->window, IDYES);
  ASSERT_TRUE(uninstaller.WaitForExit(10000));

  std::string caption = std::string("Swiftclear -  ") + kProduct;  // the N value keeps its blank
  HWND window2 = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] { return (window2 = e2e::VisibleWindowTitled(caption)) != nullptr; }, 10000));
  DWORD id = 0;
  GetWindowThreadProcessId(window2, &id);
  remover = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
  // During the ten-second wait, every question is answered at once, not at the next one-second step.
  ULONGLONG slowest = 0;
  for (int i = 0; i < 6; ++i) {
    slowest = std::max(slowest, AnswerTime(window2));
    Sleep(370);
  }
  EXPECT_LT(slowest, 300u) << "ms for the remover's object during its wait";
  EXPECT_EQ(e2e::TitleOf(window2), caption) << "still waiting";
  std::string waiting = reader::Read(reader::Object::ClientOf(window2));
  std::printf("remover, waiting:\n%s", waiting.c_str());
  EXPECT_TRUE(Holds(waiting, std::string("static text \"Removing  ") + kProduct + " from your computer\"")) << waiting;

  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::TitleOf(window2) == "Finished : " + caption; }, 20000, 50));
  reader::Object finished = reader::Object::ClientOf(window2);
  std::string done = reader::Read(finished);
  std::printf("remover, finished:\n%s", done.c_str());
  EXPECT_TRUE(Holds(done, std::string("static text \" ") + kProduct + " is removed from your computer.\"")) << done;
  EXPECT_TRUE(Holds(done, "static text \"Click OK to exit.\"")) << done;
  reader::Object close = finished.FindButton("OK");
  ASSERT_TRUE(close);
  EXPECT_EQ(close.DoDefaultAction(), S_OK);
  EXPECT_EQ(WaitForSingleObject(remover, 5000), WAIT_OBJECT_0) << "OK ends the remover";
}
