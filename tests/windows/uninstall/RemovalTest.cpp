// The remover at work: started by the uninstaller after "&OK" and "Yes", and on its own without
// arguments. Each removal waits ten seconds, so the cases are few and check much.
#include <gtest/gtest.h>
#include <windows.h>
#include "driver/Driver.h"
#include "driver/FileTree.h"
#include "driver/ProcessorClock.h"
#include "uninstall/Installation.h"

using namespace uninstall_test;

namespace {

HWND ProgressBarOf(HWND window) {
  for (HWND child : e2e::ChildWindows(window))
    if (e2e::ClassName(child) == "msctls_progress32") return child;
  return nullptr;
}

class RemovalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders = ShellFolders::Query();
    RemoveTree(kRoot);
    RemoveTree(folders.programMenu + "\\" + kProduct);
    DeleteFileA((folders.desktop + "\\" + kProduct + ".Lnk").c_str());
    CreateDirectoryA(kRoot, nullptr);
    rootBefore = e2e::SnapshotTree(kRoot);
    menuBefore = e2e::SnapshotTree(folders.programMenu);
    desktopBefore = e2e::SnapshotTree(folders.desktop, 1);
  }
  void TearDown() override {
    uninstaller.Kill();
    if (remover) {
      TerminateProcess(remover, 1);
      CloseHandle(remover);
    }
    RemoveTree(kRoot);
    RemoveTree(folders.programMenu + "\\" + kProduct);
    DeleteFileA((folders.desktop + "\\" + kProduct + ".Lnk").c_str());
  }

  // "&OK", "Yes", then follows the remover to its finish; measures its processor time while it waits.
  void UninstallAndFinish() {
    uninstaller = e2e::Process::Start(std::string(kInstallDir) + "Uninstall.Exe");
    HWND window = e2e::WaitForTopWindow(uninstaller.Id(), std::string("Uninstall ") + kProduct);
    ASSERT_NE(window, nullptr);
    e2e::Click(e2e::ButtonWithText(window, "&OK"), 30, 12);
    auto box = e2e::WaitForMessageBox(uninstaller.Id(), 5000);
    ASSERT_TRUE(box);
    e2e::AnswerMessageBox(box->window, IDYES);
    ASSERT_TRUE(uninstaller.WaitForExit(10000));
    EXPECT_EQ(uninstaller.ExitCode(), 0u);

    std::string caption = std::string("Swiftclear -  ") + kProduct;  // the N value keeps its blank
    HWND window2 = nullptr;
    ASSERT_TRUE(e2e::WaitFor([&] { return (window2 = e2e::VisibleWindowTitled(caption)) != nullptr; }, 10000));
    DWORD id = 0;
    GetWindowThreadProcessId(window2, &id);
    remover = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    ASSERT_NE(remover, nullptr);
    HWND bar = ProgressBarOf(window2);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(IsWindowVisible(e2e::ButtonWithText(window2, "OK"))) << "the OK button shows before the end";

    int positionStart = e2e::ProgressPosition(bar);
    e2e::ProcessorClock processor(remover, "NVUninstall.Exe");
    double cpuStart = processor.Milliseconds();
    ULONGLONG wallStart = GetTickCount64();
    Sleep(5000);
    double wall = static_cast<double>(GetTickCount64() - wallStart), cpu = processor.Milliseconds() - cpuStart;
    std::printf("remover: %.0f ms of processor time in %.0f ms of its wait (from %s)\n", cpu, wall, processor.Source());
    EXPECT_LT(cpu * 100, wall * 5) << cpu << " ms of processor time in " << wall << " ms of waiting";
    EXPECT_EQ(e2e::ProgressMax(bar), 16);
    int steps = e2e::ProgressPosition(bar) - positionStart;
    EXPECT_GE(steps, 4) << "about one step a second";
    EXPECT_LE(steps, 6) << "about one step a second";
    EXPECT_EQ(e2e::TitleOf(window2), caption) << "the caption changes before the end";

    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::TitleOf(window2) == "Finished : " + caption; }, 20000, 50));
    EXPECT_EQ(e2e::ProgressPosition(bar), 16);
    HWND ok = e2e::ButtonWithText(window2, "OK");
    ASSERT_TRUE(ok && IsWindowVisible(ok));
    e2e::Click(ok, 30, 12);
    EXPECT_EQ(WaitForSingleObject(remover, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(Exists(folders.temp + "\\NVUninstall.Exe")) << "the remover's own file stays";
  }

  ShellFolders folders;
  e2e::FileTree rootBefore, menuBefore, desktopBefore;
  e2e::Process uninstaller;
  HANDLE remover = nullptr;
};

}  // namespace

TEST(Remover, WithoutArgumentsSaysSoWithoutButtonAndEndsAtItsFirstTick) {
  e2e::Process remover = e2e::Process::Start(e2e::ProgramFolder() + "NVUninstall.exe");
  // The window lives about 200 ms: watch closely.
  ULONGLONG seen = 0;
  bool buttonShown = false;
  ASSERT_TRUE(e2e::WaitFor([&] {
    if (!seen) {
      // One look-up by title a poll, so that a busy machine still polls often enough to see the window.
      HWND window = FindWindowA(nullptr, "Swiftclear");
      DWORD owner = 0;
      if (window) GetWindowThreadProcessId(window, &owner);
      if (window && owner == remover.Id()) {
        seen = GetTickCount64();
        HWND ok = e2e::ButtonWithText(window, "OK");
        buttonShown = ok && IsWindowVisible(ok);
      }
    }
    return !remover.Running();
  }, 15000, 1));
  ULONGLONG ended = GetTickCount64();
  ASSERT_NE(seen, 0u) << "the window never showed";
  EXPECT_FALSE(buttonShown);
  EXPECT_LT(ended - seen, 1000u);
  EXPECT_EQ(remover.ExitCode(), 0u);
}

TEST_F(RemovalTest, OkAndYesLeaveTheFoldersAsTheyWereBeforeTheInstallation) {
  MakeInstallation(true);
  ASSERT_FALSE(e2e::TreeDifferences(menuBefore, e2e::SnapshotTree(folders.programMenu)).empty());
  UninstallAndFinish();
  for (const auto& [name, before, after] :
       {std::tuple{"installation", rootBefore, e2e::SnapshotTree(kRoot)},
        std::tuple{"program menu", menuBefore, e2e::SnapshotTree(folders.programMenu)},
        std::tuple{"desktop", desktopBefore, e2e::SnapshotTree(folders.desktop, 1)}})
    for (const std::string& difference : e2e::TreeDifferences(before, after)) ADD_FAILURE() << name << ": " << difference;
}

// A record edited by someone else: every value that reaches beyond what it names is refused, the
// listed things go, and a file the user added keeps the installation directory.
TEST_F(RemovalTest, TamperedRecordDeletesNothingBeyondWhatItLists) {
  std::vector<std::string> lines = MakeInstallation(false);
  std::string root = kRoot, dir = kInstallDir;
  // Planted where refused values point.
  std::vector<std::string> planted = {root + "keep.txt", dir + "notes.txt", folders.programMenu + "\\twinsift-keep.txt",
                                      folders.temp + "\\twinsift-keep.txt", folders.profile + "\\twinsift-keep.txt",
                                      root + "Outside\\outside.txt", root + "late.txt"};
  CreateDirectoryA((root + "Outside").c_str(), nullptr);
  for (const std::string& file : planted) WriteTextFile(file, "keep");
  MakeRegistryKey("SOFTWARE\\TwinsiftE2EKeep");
  // Listed, and to go: a tree with read-only and hidden folders, a read-only file and a link to Outside;
  // log files by a pattern; a registry key with subkeys.
  std::string old = root + "OldData";
  for (const char* sub : {"", "\\ro", "\\ro\\deep", "\\hidden"}) CreateDirectoryA((old + sub).c_str(), nullptr);
  WriteTextFile(old + "\\ro\\deep\\a.txt", "x");
  WriteTextFile(old + "\\readonly.txt", "x");
  WriteTextFile(old + "\\hidden\\b.txt", "x");
  SetFileAttributesA((old + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((old + "\\ro").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
  SetFileAttributesA((old + "\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  bool linked = CreateSymbolicLinkA((old + "\\link").c_str(), (root + "Outside").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
  WriteTextFile(dir + "a.log", "x");
  WriteTextFile(dir + "b.log", "x");
  MakeRegistryKey("SOFTWARE\\TwinsiftE2E\\Sub\\Deeper");

  for (const std::string& line : std::vector<std::string>{
           "<S>", "<S..>", "<S...>", "<T..\\twinsift-keep.txt>", "<D>", "<D" + folders.temp + ">",
        "<D" + folders.programMenu + ">", "<D" + root + "Outside\\..>", "<D" + root + "Outside\\..\\>",
        "<D" + root.substr(0, root.size() - 1) + ".>", "<F" + root + "Outside\\..\\keep.txt>", "<F>",
        "<Fkeep.txt>", "<P" + root + "Outside\\..\\*.txt>", "<P" + root + "keep.txt>", "<R>", "<RSOFTWARE>",
        "<RSOFTWARE\\>", "<E>", "<D" + old + ">", "<P" + dir + "*.log>", "<RSOFTWARE\\TwinsiftE2E>"})
    lines.push_back(line);
  while (lines.size() < 50) lines.push_back("<X>");
  lines.push_back("<F" + root + "late.txt>");  // beyond the 50 lines that the uninstaller takes
  WriteRecord(lines);

  UninstallAndFinish();
  for (const std::string& file : planted) EXPECT_TRUE(Exists(file)) << file;
  EXPECT_TRUE(RegistryKeyExists("SOFTWARE\\TwinsiftE2EKeep"));
  EXPECT_TRUE(RegistryKeyExists("SOFTWARE\\Microsoft"));
  EXPECT_FALSE(RegistryKeyExists("SOFTWARE\\TwinsiftE2E"));
  EXPECT_FALSE(Exists(old)) << "the tree with read-only and hidden parts stays";
  EXPECT_FALSE(Exists(dir + "a.log") || Exists(dir + "b.log"));
  EXPECT_FALSE(Exists(dir + "Twinsift.Exe") || Exists(dir + "Uninstall.Exe") || Exists(dir + "UnInstall.dat"));
  EXPECT_TRUE(Exists(dir)) << "the user's file keeps the installation directory";
  EXPECT_FALSE(Exists(folders.programMenu + "\\" + kProduct));
  if (!linked) std::printf("no directory link could be made here; the link case went unchecked\n");

  DeleteFileA((folders.programMenu + "\\twinsift-keep.txt").c_str());
  DeleteFileA((folders.temp + "\\twinsift-keep.txt").c_str());
  DeleteFileA((folders.profile + "\\twinsift-keep.txt").c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TwinsiftE2EKeep");
}
