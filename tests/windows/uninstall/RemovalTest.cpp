// The remover at work: started by the uninstaller after "&OK" and "Yes", and on its own without
// arguments. Each removal waits ten seconds, so the cases are few and check much.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cmath>
#include "driver/Driver.h"
#include "driver/FileTree.h"
#include "driver/ProcessorClock.h"
#include "access/ScreenReader.h"
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
    RemoveRemoverFolders();
    CreateDirectoryA(kRoot, nullptr);
    rootBefore = e2e::SnapshotTree(kRoot);
    menuBefore = e2e::SnapshotTree(folders.programMenu);
    desktopBefore = e2e::SnapshotTree(folders.desktop, 1);
  }
  void TearDown() override {
    StopAndRemove(uninstaller, remover);
    DeleteFileA((folders.desktop + "\\" + kProduct + ".Lnk").c_str());
  }

  // Starts the uninstaller unless it runs, then "&OK" and "Yes".
  void OkAndYes() {
    if (!uninstaller.Running()) {
      uninstaller = e2e::Process::Start(std::string(kInstallDir) + "Uninstall.Exe");
      window = e2e::WaitForTopWindow(uninstaller.Id(), std::string("Uninstall ") + kProduct);
    }
    ASSERT_NE(window, nullptr);
    e2e::Click(e2e::ButtonWithText(window, "&OK"), 30, 12);
    auto box = e2e::WaitForMessageBox(uninstaller.Id(), 5000);
    ASSERT_TRUE(box);
    ASSERT_EQ(box->caption, "Confirm");
    e2e::AnswerMessageBox(box->window, IDYES);
    ASSERT_TRUE(e2e::WaitFor([&] {
      auto shown = e2e::FindMessageBox(uninstaller.Id());
      return !shown || shown->caption != "Confirm" || !uninstaller.Running();
    }, 5000));
  }

  // "&OK", "Yes", then follows the remover to its finish; measures its processor time while it waits.
  void UninstallAndFinish(const std::string& product = kProduct) {
    ASSERT_NO_FATAL_FAILURE(OkAndYes());
    ASSERT_TRUE(uninstaller.WaitForExit(10000));
    EXPECT_EQ(uninstaller.ExitCode(), 0u);

    std::string caption = "Swiftclear -  " + product;  // the N value keeps its blank
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
    // The test's own pause may overrun on a busy machine: the bound follows the time that really passed.
    EXPECT_LE(steps, static_cast<int>(std::ceil(wall / 1000)) + 1) << "about one step a second, in " << wall << " ms";
    EXPECT_EQ(e2e::TitleOf(window2), caption) << "the caption changes before the end";

    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::TitleOf(window2) == "Finished : " + caption; }, 20000, 50));
    EXPECT_EQ(e2e::ProgressPosition(bar), 16);
    HWND ok = e2e::ButtonWithText(window2, "OK");
    ASSERT_TRUE(ok && IsWindowVisible(ok));
    e2e::Click(ok, 30, 12);
    EXPECT_EQ(WaitForSingleObject(remover, 5000), WAIT_OBJECT_0);
    std::vector<std::string> removerFolders = RemoverFolders();
    ASSERT_EQ(removerFolders.size(), 1u) << "the remover runs from a folder of its own";
    EXPECT_TRUE(Exists(removerFolders[0] + "\\NVUninstall.Exe")) << "the remover's own file stays";
  }

  ShellFolders folders;
  e2e::FileTree rootBefore, menuBefore, desktopBefore;
  e2e::Process uninstaller;
  HWND window = nullptr;
  HANDLE remover = nullptr;
};

class DamagedRecord : public RemovalTest, public ::testing::WithParamInterface<int> {};  // bytes kept, -1: none

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

// A record edited by someone who can write to the installation folder: values pointing outside it, each
// at a planted file, are not handed to the remover; the installation still goes.
TEST_F(RemovalTest, TamperedRecordRemovesTheInstallationAndNothingOutsideIt) {
  std::vector<std::string> lines = MakeInstallation(false);
  std::string root = kRoot, dir = kInstallDir;
  const std::string startup = folders.programMenu + "\\Startup", other = folders.programMenu + "\\TwinsiftE2EOther";
  CreateDirectoryA(startup.c_str(), nullptr);
  CreateDirectoryA(other.c_str(), nullptr);
  CreateDirectoryA((root + "Outside").c_str(), nullptr);
  CreateDirectoryA((root + "Empty").c_str(), nullptr);
  std::vector<std::string> planted = {root + "keep.txt", root + "Outside\\outside.txt", root + "Outside\\a.log",
                                      root + "Twinsift.Exe", startup + "\\twinsift-keep.txt",
                                      other + "\\twinsift-keep.txt", folders.desktop + "\\twinsift-keep.txt",
                                      folders.profile + "\\twinsift-keep.txt", root + "late.txt"};
  for (const std::string& file : planted) WriteTextFile(file, "keep");
  // Links to our program in a folder Windows owns and in another program's folder.
  MakeLink(dir + "Twinsift.Exe", startup + "\\TwinsiftE2E.Lnk");
  MakeLink(dir + "Twinsift.Exe", other + "\\TwinsiftE2E.Lnk");
  planted.push_back(startup + "\\TwinsiftE2E.Lnk");
  MakeRegistryKey("SOFTWARE\\TwinsiftE2EKeep\\Sub");
  for (const std::string& line : std::vector<std::string>{
           "<F" + root + "keep.txt>", "<F" + root + "Twinsift.Exe>", "<F" + dir + "..\\keep.txt>",
           "<F" + dir + "Outside\\..\\..\\keep.txt>", "<E" + root + "Empty\\>", "<E" + root + ">",
           "<SStartup>", "<S..\\Startup>", "<S..>", "<T..\\twinsift-keep.txt>", "<Ttwinsift-keep.txt>",
           "<D" + root + "Outside>", "<D" + folders.profile + ">", "<P" + root + "Outside\\*.log>",
           "<RSOFTWARE\\TwinsiftE2EKeep>", "<N Someone else>"})
    lines.push_back(line);
  while (lines.size() < 50) lines.push_back("<X>");
  lines.push_back("<F" + root + "late.txt>");  // beyond the 50 lines that the uninstaller takes
  WriteRecord(lines);

  UninstallAndFinish();
  for (const std::string& file : planted) EXPECT_TRUE(Exists(file)) << file;
  EXPECT_TRUE(Exists(root + "Empty")) << "an empty folder outside the installation";
  EXPECT_TRUE(Exists(other + "\\TwinsiftE2E.Lnk")) << "another program's folder is not ours to empty";
  EXPECT_TRUE(RegistryKeyExists("SOFTWARE\\TwinsiftE2EKeep\\Sub"));
  EXPECT_FALSE(Exists(dir)) << "the installation goes whole";
  EXPECT_FALSE(Exists(folders.programMenu + "\\" + kProduct));

  RemoveTree(other);
  for (const std::string& file : {startup + "\\twinsift-keep.txt", startup + "\\TwinsiftE2E.Lnk",
                                  folders.desktop + "\\twinsift-keep.txt", folders.profile + "\\twinsift-keep.txt"})
    DeleteFileA(file.c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TwinsiftE2EKeep");
}

// The utility still running: "&OK" and "Yes" name it and remove nothing; once it is closed, everything goes.
TEST_F(RemovalTest, RunningUtilityIsNamedAndNothingGoesUntilItIsClosed) {
  MakeInstallation(true);
  e2e::FileTree installed = e2e::SnapshotTree(kRoot), menu = e2e::SnapshotTree(folders.programMenu);
  e2e::Process utility = e2e::Process::Start(std::string(kInstallDir) + "Twinsift.Exe");
  ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::TopWindows(utility.Id()).empty(); }));

  uninstaller = e2e::Process::Start(std::string(kInstallDir) + "Uninstall.Exe");
  window = e2e::WaitForTopWindow(uninstaller.Id(), std::string("Uninstall ") + kProduct);
  ASSERT_NO_FATAL_FAILURE(OkAndYes());
  auto box = e2e::WaitForMessageBox(uninstaller.Id(), 5000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, std::string("Uninstall ") + kProduct);
  EXPECT_EQ(box->text, "Twinsift.Exe is running and cannot be removed.\nClose it, then press OK again.");
  e2e::AnswerMessageBox(box->window);
  ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(uninstaller.Id()); }, 5000));
  EXPECT_TRUE(uninstaller.Running() && IsWindowVisible(window)) << "the window stays for another try";
  EXPECT_TRUE(RemoverFolders().empty()) << "no remover was unpacked";
  EXPECT_TRUE(e2e::TreeDifferences(installed, e2e::SnapshotTree(kRoot)).empty());
  EXPECT_TRUE(e2e::TreeDifferences(menu, e2e::SnapshotTree(folders.programMenu)).empty());

  utility.Kill();
  ASSERT_TRUE(utility.WaitForExit(5000));
  UninstallAndFinish();
  EXPECT_FALSE(Exists(kInstallDir));
  EXPECT_FALSE(Exists(folders.programMenu + "\\" + kProduct));
  EXPECT_FALSE(Exists(folders.desktop + "\\" + kProduct + ".Lnk"));
}

// A file the remover was to delete is held open: its finish grows to name it.
TEST_F(RemovalTest, FinishNamesAFileThatIsHeldOpen) {
  MakeInstallation(false);
  const std::string held = std::string(kInstallDir) + "Twinsift.Exe";
  HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  // The uninstaller would refuse this: start the remover as it would, with the record's lines.
  std::string args = std::string("\"<N ") + kProduct + ">\"";
  for (const char* name : {"Twinsift.Exe", "Uninstall.Exe", "Uninstall.Dat"})
    args += std::string(" \"<F") + kInstallDir + name + ">\"";
  args += std::string(" \"<E") + kInstallDir + ">\" \"<S" + kProduct + ">\"";
  e2e::Process started = e2e::Process::Start(e2e::ProgramFolder() + "NVUninstall.exe", args);
  const std::string caption = std::string("Finished : Swiftclear -  ") + kProduct;
  HWND finished = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] { return (finished = e2e::VisibleWindowTitled(caption)) != nullptr; }, 25000, 50));
  CloseHandle(file);
  RECT client = e2e::ClientRectOnScreen(finished);
  EXPECT_EQ(client.bottom - client.top, 118 + 3 * 13) << "room for the heading, the file and the last line";
  HWND ok = e2e::ButtonWithText(finished, "OK");
  ASSERT_TRUE(ok && IsWindowVisible(ok));
  RECT button = e2e::WindowRectOnScreen(ok);
  EXPECT_EQ(button.top - client.top, 64 + 3 * 13);
  Sleep(300);  // for the picture only: the window paints its new size
  e2e::SaveScreenshot(finished, e2e::ProgramFolder() + "remover-held-file.png");
  EXPECT_TRUE(Exists(held));
  e2e::Click(ok, 30, 12);
  EXPECT_TRUE(started.WaitForExit(5000));
}

// A record whose paths are spelled with forward slashes: the uninstaller knows its own file for what it
// is and does not call itself running; everything goes.
TEST_F(RemovalTest, ARecordWithForwardSlashesRemovesTheInstallation) {
  std::vector<std::string> lines = MakeInstallation(false);
  for (std::string& line : lines) std::replace(line.begin(), line.end(), '\\', '/');
  WriteRecord(lines);
  UninstallAndFinish();
  EXPECT_FALSE(Exists(kInstallDir));
  EXPECT_FALSE(Exists(folders.programMenu + "\\" + kProduct));
}

// Through the window: the user's note that mentions the address stays, and without a desktop line the
// first run's desktop link to our utility goes.
TEST_F(RemovalTest, TheUsersNoteStaysAndOurDesktopLinkGoesWithoutItsLine) {
  MakeInstallation(false);
  const std::string note = folders.programMenu + "\\" + kProduct + "\\notes.txt";
  const std::string link = folders.desktop + "\\Twinsift.Lnk";
  WriteTextFile(note, std::string("see ") + kWebsite);
  MakeLink(std::string(kInstallDir) + "Twinsift.Exe", link);
  UninstallAndFinish();
  EXPECT_TRUE(Exists(note));
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(Exists(kInstallDir));
  DeleteFileA(link.c_str());
}

// An empty record, one cut at 128 bytes, none beside our utility: told, and all our installer makes goes.
TEST_P(DamagedRecord, IsToldAndAllOurInstallerMakesForTheFolderGoes) {
  reader::ComApartment com;
  std::string text = "Twinsift\r\n", record = std::string(kInstallDir) + "UnInstall.dat";
  for (const std::string& line : MakeInstallation(true, "Twinsift")) text += line + "\r\n";
  if (GetParam() < 0) DeleteFileA(record.c_str());
  else WriteTextFile(record, text.substr(0, static_cast<std::size_t>(GetParam())));
  uninstaller = e2e::Process::Start(std::string(kInstallDir) + "Uninstall.Exe");
  window = e2e::WaitForTopWindow(uninstaller.Id(), "Uninstall Twinsift");
  ASSERT_NE(window, nullptr);
  std::string shown = reader::Read(reader::Object::ClientOf(window)), warning = GetParam() < 0 ? "missing" : "damaged";
  EXPECT_NE(shown.find("\"Warning: the uninstall record UnInstall.dat is " + warning + ".\""), std::string::npos)
      << shown;
  UninstallAndFinish("Twinsift");
  EXPECT_EQ(e2e::TreeDifferences(rootBefore, e2e::SnapshotTree(kRoot)), std::vector<std::string>());
  EXPECT_EQ(e2e::TreeDifferences(menuBefore, e2e::SnapshotTree(folders.programMenu)), std::vector<std::string>());
  EXPECT_EQ(e2e::TreeDifferences(desktopBefore, e2e::SnapshotTree(folders.desktop, 1)), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(EmptyCutMissing, DamagedRecord, ::testing::Values(0, 128, -1));
