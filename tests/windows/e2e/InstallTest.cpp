// Whole installations through the real window, checked on disk afterwards.
#include <shlobj.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "driver/FileTree.h"
#include "e2e/InstalledFiles.h"
#include "e2e/UninstallTour.h"
#include "e2e/SetupHarness.h"
#include "toolkit/Folders.h"
#include "win32/TextCodes.h"

namespace {

constexpr COLORREF kCream = 0xF0FBFF;

std::string Record(const std::string& dir, bool desktopLink) {
  std::string text = "Twinsift\r\n<F" + dir + "Twinsift.Exe>\r\n<F" + dir + "Uninstall.Exe>\r\n<F" + dir +
                     "Uninstall.Dat>\r\n<E" + dir + ">\r\n<STwinsift>\r\n";
  return desktopLink ? text + "<TTwinsift.Lnk>\r\n" : text;
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

class InstallTest : public SetupTest {
 protected:
  void TearDown() override {
    SetupTest::TearDown();
    if (undo) undo();  // the prefix outlives the test
    if (std::getenv("TWINSIFT_KEEP_INSTALL")) return;  // the host-side check looks at it next
    for (const std::string& dir : made) e2e::Installation{dir}.Remove();
    for (auto it = madeAbove.rbegin(); it != madeAbove.rend(); ++it) RemoveDirectoryA(it->c_str());
  }
  void WalkToReady(const std::string& dir, bool desktopLink) {
    made.push_back(dir);
    GoToDirectory();
    SendMessageW(PageControl("Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(win32::WideFromUtf8(dir).c_str()));
    Next();
    ASSERT_TRUE(WaitForPage("Ready to install"));
    if (Ticked() != desktopLink) e2e::Click(PageControl("Button"), 8, 8);
    ASSERT_EQ(Ticked(), desktopLink);
  }
  bool Ticked() { return SendMessageA(PageControl("Button"), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void InstallNow() { Press("&Install Now"); }
  HWND ProgressBar() { return PageControl("msctls_progress32"); }
  // Where the run stops with an error: the box's text, with the page still current and the bar empty.
  std::string ErrorOfTheRun() {
    auto box = e2e::WaitForMessageBox(setup.Id(), 30000);
    if (!box) return "no message box";
    EXPECT_EQ(HeaderText(), "Installing Twinsift");
    EXPECT_EQ(e2e::PixelAt(Bar(), 50, 15), kCream) << "no Exit button";
    EXPECT_EQ(e2e::PixelAt(Bar(), 648, 15), kCream) << "no main button";
    e2e::AnswerMessageBox(box->window);
    EXPECT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(setup.Id()); }));
    EXPECT_EQ(HeaderText(), "Installing Twinsift");
    return box->text;
  }
  void ExpectInstalled(const std::string& dir, bool desktopLink) {
    e2e::Installation installed{dir};
    EXPECT_TRUE(e2e::ReadBytes(installed.File("Twinsift.Exe")) == e2e::ReadBytes(e2e::ProgramFolder() + "Twinsift.exe"));
    EXPECT_TRUE(e2e::ReadBytes(installed.File("Uninstall.Exe")) ==
                e2e::ReadBytes(e2e::ProgramFolder() + "Uninstall.exe"));
    const bool ascii = std::none_of(dir.begin(), dir.end(), [](char ch) { return ch & 0x80; });  // else outside 1252
    EXPECT_EQ(e2e::ReadText(installed.File("UnInstall.dat")), (ascii ? "" : "\xEF\xBB\xBF") + Record(dir, desktopLink));
    struct Expected {
      std::string link, target, description;
      bool icon;
    };
    std::vector<Expected> links = {
        {installed.MenuFolder() + "\\Twinsift.Lnk", dir + "Twinsift.Exe", "Twinsift", true},
        {installed.MenuFolder() + "\\Website.Lnk", "http://www.example.com/twinsift", "Twinsift Website", false},
        {installed.MenuFolder() + "\\Uninstall.Lnk", dir + "Uninstall.Exe", "Uninstall Twinsift", true},
    };
    if (desktopLink) links.push_back({installed.DesktopLink(), dir + "Twinsift.Exe", "Twinsift", true});
    for (const Expected& expected : links) {
      SCOPED_TRACE(expected.link);
      e2e::LinkContents link = e2e::ReadLink(expected.link);
      ASSERT_TRUE(link.loaded);
      EXPECT_EQ(link.description, expected.description);
      EXPECT_EQ(link.arguments, "");
      if (expected.icon) {
        EXPECT_EQ(link.target, expected.target);
        EXPECT_EQ(link.iconFile, expected.target);
        EXPECT_EQ(link.iconIndex, 0);
      } else {
        EXPECT_EQ(link.iconFile, "");
      }
    }
    EXPECT_EQ(e2e::FileExists(installed.DesktopLink()), desktopLink);
  }

  std::vector<std::string> made, madeAbove;
  std::function<void()> undo;
};

HWND UtilityWindow() { return FindWindowA(nullptr, "Twinsift"); }

}  // namespace

TEST_F(InstallTest, NewNestedDirectoryWithDesktopLinkThenExitStartsNothing) {
  const std::string dir = "C:\\Twinsift Test\\New Folder\\Deeper\\";
  madeAbove = {"C:\\Twinsift Test", "C:\\Twinsift Test\\New Folder"};
  WalkToReady(dir, true);
  InstallNow();
  ASSERT_TRUE(WaitForPage("Installation completed", 30000));
  ExpectInstalled(dir, true);
  Exit();
  ASSERT_TRUE(setup.WaitForExit(10000));
  Sleep(500);
  EXPECT_EQ(UtilityWindow(), nullptr) << "Exit starts nothing";
}

TEST_F(InstallTest, ExistingDirectoryWithoutDesktopLinkThenASecondRunOverIt) {
  const std::string dir = "C:\\TwinsiftExisting\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  WriteText(dir + "Twinsift.Exe", std::string(3'000'000, 'x'));
  WriteText(dir + "UnInstall.dat", std::string(400, '\n'));
  WalkToReady(dir, false);
  InstallNow();
  ASSERT_TRUE(WaitForHeader("Installing Twinsift"));
  // The header takes no click while the run works.
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::ProgressPosition(ProgressBar()) > 0; }, 10000, 1));
  e2e::Click(Header(), 300, 20);
  Sleep(100);
  EXPECT_NE(HeaderText(), "Disclaimer");
  ASSERT_TRUE(WaitForPage("Installation completed", 30000)) << HeaderText();
  ExpectInstalled(dir, false);

  // Once more over the first installation: header, terms, directory (kept), ready (box kept), install.
  e2e::Click(Header(), 300, 20);
  ASSERT_TRUE(WaitForPage("Disclaimer"));
  e2e::Click(PageControl("Button"), 8, 12);
  Next();
  ASSERT_TRUE(WaitForPage("Choose installation directory"));
  Next();
  ASSERT_TRUE(WaitForPage("Ready to install"));
  EXPECT_FALSE(Ticked()) << "the box keeps the user's choice";
  InstallNow();
  ASSERT_TRUE(WaitForPage("Installation completed", 30000));
  ExpectInstalled(dir, false);
}

// "&Exit" is still on the bar while "&Install Now" slides the parts out: its access key, pressed twice, and a
// close request from outside must neither close the window nor leave the run going on unseen.
TEST_F(InstallTest, ExitDuringTheSlideToTheRunDoesNothing) {
  const std::string dir = "C:\\TwinsiftExitDuringSlide\\";
  WalkToReady(dir, false);
  InstallNow();
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::SetupBusy(window); }, 3000, 1)) << "the change began";
  e2e::PressKey('E', true);
  e2e::PressKey('E', true);
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForPage("Installation completed", 30000)) << HeaderText();
  EXPECT_TRUE(setup.Running()) << "the window stayed for the whole run";
  EXPECT_TRUE(IsWindowVisible(window));
  ExpectInstalled(dir, false);
  Exit();
  EXPECT_TRUE(setup.WaitForExit(10000)) << "once the run is over, Exit closes";
}

TEST_F(InstallTest, MissingDriveStopsAfterTheUtilitysBlocksWithNothingElseMade) {
  ASSERT_EQ(GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << "drive Q: must not exist here";
  WalkToReady("Q:\\Twinsift\\", true);
  InstallNow();
  std::string text = ErrorOfTheRun();
  EXPECT_EQ(text.rfind("Cannot create file \"Q:\\Twinsift\\Twinsift.Exe\". ", 0), 0u) << text;
  int position = e2e::ProgressPosition(ProgressBar()), maximum = e2e::ProgressMax(ProgressBar());
  EXPECT_GT(position, 0);
  EXPECT_LT(position, maximum / 3) << "only the utility's blocks were copied";
  EXPECT_FALSE(e2e::FileExists(e2e::Installation::MenuFolder()));
  EXPECT_FALSE(e2e::FileExists(e2e::Installation::DesktopLink()));
}

TEST_F(InstallTest, ReadOnlyRecordIsRefusedAfterEveryFileAndLinkExists) {
  const std::string dir = "C:\\TwinsiftReadOnly\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  WriteText(dir + "UnInstall.dat", "old\r\n");
  SetFileAttributesA((dir + "UnInstall.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE probe = CreateFileA((dir + "UnInstall.dat").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    made.push_back(dir);
    GTEST_SKIP() << "a read-only file can be written here (Wine run by root); host-check.sh runs this test "
                    "with the record made immutable from the host side";
  }
  WalkToReady(dir, true);
  InstallNow();
  EXPECT_EQ(ErrorOfTheRun(), "File access denied.");
  e2e::Installation installed{dir};
  EXPECT_TRUE(e2e::FileExists(installed.File("Twinsift.Exe")));
  EXPECT_TRUE(e2e::FileExists(installed.File("Uninstall.Exe")));
  EXPECT_TRUE(e2e::ReadLink(installed.MenuFolder() + "\\Uninstall.Lnk").loaded);
  EXPECT_TRUE(e2e::ReadLink(installed.DesktopLink()).loaded);
  EXPECT_EQ(e2e::ReadText(installed.File("UnInstall.dat")), "old\r\n");
}

// A C:\Program.exe must not be what "Run Twinsift" starts for C:\Program Files\Twinsift\Twinsift.Exe.
TEST_F(InstallTest, RunStartsTheInstalledUtilityMaximisedAndNeverProgramExe) {
  const std::string planted = "C:\\Program.exe", marker = "C:\\Program.exe.started";
  ASSERT_TRUE(CopyFileA((e2e::ProgramFolder() + "started_marker.exe").c_str(), planted.c_str(), FALSE));
  DeleteFileA(marker.c_str());
  WalkToReady("C:\\Program Files\\Twinsift\\", false);
  InstallNow();
  ASSERT_TRUE(WaitForPage("Installation completed", 30000));
  Press("&Run Twinsift");
  EXPECT_TRUE(setup.WaitForExit(10000)) << "the wizard closes";
  HWND utility = nullptr;
  EXPECT_TRUE(e2e::WaitFor([&] { return (utility = UtilityWindow()) != nullptr; }, 10000));
  if (utility) {
    EXPECT_TRUE(IsZoomed(utility)) << "maximised";
    PostMessageA(utility, WM_CLOSE, 0, 0);
    e2e::WaitFor([&] { return UtilityWindow() == nullptr; }, 5000);
  }
  Sleep(300);
  EXPECT_FALSE(e2e::FileExists(marker)) << "C:\\Program.exe was started";
  DeleteFileA(planted.c_str());
  DeleteFileA(marker.c_str());
}

// Run by full-disk.sh, which maps a small tmpfs in as a drive and says what the run must report there.
TEST_F(InstallTest, FullDiskIsReportedAndNotPassedAsInstalled) {
  const char* dir = std::getenv("TWINSIFT_FULL_DISK_DIR");
  const char* expected = std::getenv("TWINSIFT_FULL_DISK_MESSAGE");
  if (!dir || !expected) GTEST_SKIP() << "full-disk.sh runs this on a drive of its own";
  WalkToReady(dir, false);
  InstallNow();
  std::string text = ErrorOfTheRun();
  EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
  made.clear();  // the host side looks at what is left, then unmounts
}

// The user's whole way in and out again: an installation through the window, then its uninstaller with
// "&OK" and "Yes". Afterwards the drive, the program menu and the desktop are as they were before the
// installation; the temporary folder holds the remover besides, in a folder of its own.
TEST_F(InstallTest, InstallThenUninstallLeavesThePrefixAsItWas) {
  const std::string dir = "C:\\Twinsift Round Trip\\";
  const std::string menu = e2e::ShellFolderPath(CSIDL_PROGRAMS), desktop = e2e::ShellFolderPath(CSIDL_DESKTOPDIRECTORY);
  char tempPath[MAX_PATH];
  const std::string temp(tempPath, GetTempPathA(MAX_PATH, tempPath));
  const e2e::FileTree driveBefore = e2e::SnapshotTree("C:\\", 1), menuBefore = e2e::SnapshotTree(menu),
                      desktopBefore = e2e::SnapshotTree(desktop), tempBefore = e2e::SnapshotTree(temp, 1);

  WalkToReady(dir, true);
  InstallNow();
  ASSERT_TRUE(WaitForPage("Installation completed", 30000));
  ExpectInstalled(dir, true);
  Exit();
  ASSERT_TRUE(setup.WaitForExit(10000));

  char shots[MAX_PATH];
  GetTempPathA(MAX_PATH, shots);
  ASSERT_TRUE(WalkUninstall(dir + "Uninstall.Exe", shots, 90));
  EXPECT_EQ(e2e::TreeDifferences(driveBefore, e2e::SnapshotTree("C:\\", 1)), std::vector<std::string>());
  EXPECT_EQ(e2e::TreeDifferences(menuBefore, e2e::SnapshotTree(menu)), std::vector<std::string>());
  EXPECT_EQ(e2e::TreeDifferences(desktopBefore, e2e::SnapshotTree(desktop)), std::vector<std::string>());
  std::vector<std::string> tempChanges;
  for (const std::string& change : e2e::TreeDifferences(tempBefore, e2e::SnapshotTree(temp, 1)))
    if (change.find(".png") == std::string::npos) tempChanges.push_back(change);
  ASSERT_EQ(tempChanges.size(), 1u) << "the remover's folder";
  const std::string removerFolder = tempChanges[0].substr(2);
  EXPECT_EQ(removerFolder.rfind("tws", 0), 0u) << removerFolder;
  EXPECT_TRUE(e2e::FileExists(temp + removerFolder + "\\NVUninstall.Exe"));
  DeleteFileA((temp + removerFolder + "\\NVUninstall.Exe").c_str());
  RemoveDirectoryA((temp + removerFolder).c_str());
  for (const char* shot : {"90-uninstall-window", "91-uninstall-confirm", "92-remover-waiting", "93-remover-finished"})
    DeleteFileA((std::string(shots) + shot + ".png").c_str());
}

// Names the code page (1252) cannot write: the folder itself, or the user's profile and temporary folder.
TEST_F(InstallTest, FoldersOutsideTheCodePageInstallAndUninstall) {
  const std::wstring profile = L"C:\\\u041F\u0440\u043E\u0444\u0438\u043B\u044C";
  const wchar_t* const kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  auto point = [kShellFolders](const wchar_t* folder, const wchar_t* path) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, folder, REG_EXPAND_SZ, path,
                    static_cast<DWORD>((wcslen(path) + 1) * sizeof(wchar_t)));
  };
  wchar_t before[2][MAX_PATH] = {};
  for (DWORD i = 0, size = sizeof(before[0]); i < 2; ++i, size = sizeof(before[0]))
    RegGetValueW(HKEY_CURRENT_USER, kShellFolders, i ? L"Programs" : L"Desktop", RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                 before[i], &size);
  ScratchFolder shots;  // made while the temporary folder is the prefix's
  undo = [=] { point(L"Desktop", before[0]); point(L"Programs", before[1]); RemoveTree(win32::Utf8FromWide(profile)); };
  for (const auto& [dir, ownProfile] : {std::pair<std::string, bool>{"C:\\\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 Twinsift\\", false},
                                        {"C:\\\xE5\xB7\xA5\xE5\x85\xB7\\", false}, {"C:\\Twinsift Profile\\", true}}) {
    SCOPED_TRACE(dir);
    if (ownProfile) {
      for (const wchar_t* folder : {L"", L"\\Desktop", L"\\Programs", L"\\Temp"}) CreateDirectoryW((profile + folder).c_str(), nullptr);
      point(L"Desktop", (profile + L"\\Desktop").c_str());
      point(L"Programs", (profile + L"\\Programs").c_str());
      for (const wchar_t* name : {L"TEMP", L"TMP"}) SetEnvironmentVariableW(name, (profile + L"\\Temp").c_str());
    }
    if (!setup.Running()) SetUp();
    WalkToReady(dir, true);
    InstallNow();
    ASSERT_TRUE(WaitForPage("Installation completed", 30000)) << HeaderText();
    EXPECT_EQ(win32::WideFromUtf8(e2e::Installation::MenuFolder()).rfind(ownProfile ? profile : L"C:\\", 0), 0u);
    ExpectInstalled(dir, true);
    Exit();
    ASSERT_TRUE(setup.WaitForExit(10000));
    EXPECT_TRUE(WalkUninstall(dir + "Uninstall.Exe", shots.File(""), 80));
    for (const std::string& gone : {dir, e2e::Installation::MenuFolder(), e2e::Installation::DesktopLink()})
      EXPECT_FALSE(e2e::FileExists(gone)) << gone;
  }
}

// A file where the program menu's folder goes: a box before the completion names it and the system's reason.
TEST_F(InstallTest, MenuFolderThatCannotBeMadeIsNamedBeforeTheCompletion) {
  const std::string dir = "C:\\TwinsiftNoMenu\\", menu = e2e::Installation::MenuFolder();
  WriteText(menu, "in the way");
  WalkToReady(dir, false);
  InstallNow();
  auto box = e2e::WaitForMessageBox(setup.Id(), 30000);
  DeleteFileA(menu.c_str());
  ASSERT_TRUE(box) << HeaderText();
  EXPECT_EQ(box->caption, "Twinsift");
  const std::string named = "Twinsift is installed, but these could not be made:\n\n" + menu + "\n";
  EXPECT_TRUE(box->text.rfind(named, 0) == 0 && box->text.size() > named.size()) << "and a reason: " << box->text;
  e2e::AnswerMessageBox(box->window);
  EXPECT_TRUE(WaitForPage("Installation completed", 30000));
}
