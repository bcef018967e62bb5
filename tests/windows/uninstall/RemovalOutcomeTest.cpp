// The remover's deletions inside the test process, without its ten-second wait: which links go, which
// folders are never touched, and what the finish says is left or kept.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <cstddef>
#include "driver/FileTree.h"
#include "record/win32/WidePaths.h"
#include "uninstall/Installation.h"
#include "uninstall/MainForm.h"
#include "uninstall/Removal.h"

using namespace uninstall_test;

namespace {

constexpr const char* kMenuName = "TwinsiftUnit";

// A junction: a mount-point reparse point at link that leads to target (an absolute folder).
bool MakeJunction(const std::string& link, const std::string& target) {
  if (!CreateDirectoryA(link.c_str(), nullptr)) return false;
  HANDLE folder = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  std::wstring substitute = L"\\??\\" + record::Widen(target);
  struct {
    DWORD tag;
    WORD dataLength, reserved;
    WORD substituteOffset, substituteLength, printOffset, printLength;
    wchar_t paths[MAX_PATH * 2];
  } buffer{};
  buffer.tag = IO_REPARSE_TAG_MOUNT_POINT;
  buffer.substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  buffer.printOffset = static_cast<WORD>(buffer.substituteLength + sizeof(wchar_t));
  substitute.copy(buffer.paths, substitute.size());
  buffer.dataLength = static_cast<WORD>(8 + buffer.printOffset + sizeof(wchar_t));
  DWORD returned = 0;
  BOOL made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, &buffer, buffer.dataLength + 8, nullptr, 0, &returned,
                              nullptr);
  CloseHandle(folder);
  return made;
}

class RemovalOutcome : public ::testing::Test {
 protected:
  void SetUp() override {
    folders = ShellFolders::Query();
    CleanUp();
    CreateDirectoryA(kRoot, nullptr);
    CreateDirectoryA(kInstallDir, nullptr);
    for (const char* file : {"Twinsift.Exe", "Uninstall.Exe", "UnInstall.dat"})
      WriteTextFile(std::string(kInstallDir) + file, "x");
    CreateDirectoryA(Menu().c_str(), nullptr);
  }
  void TearDown() override { CleanUp(); }
  void CleanUp() {
    RemoveTree(kRoot);
    RemoveTree(Menu());
    DeleteFileA((folders.desktop + "\\TwinsiftUnit.Lnk").c_str());
    DeleteFileA((folders.desktop + "\\TwinsiftUnitOther.Lnk").c_str());
    DeleteFileA((folders.desktop + "\\Twinsift.Lnk").c_str());
  }
  std::string Menu() const { return folders.programMenu + "\\" + kMenuName; }

  // Runs every group on the arguments our uninstaller would hand over, plus extra ones.
  uninstall::RemovalOutcome Remove(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> arguments = {"<N TwinsiftUnit>"};
    for (const char* file : {"Twinsift.Exe", "Uninstall.Exe", "Uninstall.Dat"})
      arguments.push_back(std::string("<F") + kInstallDir + file + ">");
    arguments.push_back(std::string("<E") + kInstallDir + ">");
    arguments.push_back(std::string("<S") + kMenuName + ">");
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::vector<record::Text> wide;
    for (const std::string& argument : arguments) wide.push_back(record::AsText(record::Widen(argument)));
    rules = std::make_unique<record::ValueRules>(uninstall::ProtectedFolders(), record::SameOnDisk);
    plan = uninstall::ParseRemoverArguments(wide, *rules);
    uninstall::Removal removal(plan, *rules, nullptr);
    for (int group = 0; group < uninstall::Removal::kGroupCount; ++group) removal.RunGroup(group);
    return removal.Check();
  }

  ShellFolders folders;
  std::unique_ptr<record::ValueRules> rules;
  uninstall::RemovalPlan plan;
};

std::string Narrow(const std::wstring& text) { return record::Narrow(text); }

}  // namespace

TEST_F(RemovalOutcome, OnlyOurLinksLeaveTheMenuFolderAndTheDesktop) {
  const std::string dir = kInstallDir, menu = Menu();
  MakeLink(dir + "Twinsift.Exe", menu + "\\Twinsift.Lnk");
  MakeLink(kWebsite, menu + "\\Website.Lnk");
  MakeLink(dir + "Uninstall.Exe", menu + "\\Uninstall.Lnk");
  MakeLink(dir + "Twinsift.Exe", folders.desktop + "\\TwinsiftUnit.Lnk");
  MakeLink("C:\\windows\\notepad.exe", folders.desktop + "\\TwinsiftUnitOther.Lnk");
  uninstall::RemovalOutcome outcome = Remove({"<TTwinsiftUnit.Lnk>", "<TTwinsiftUnitOther.Lnk>"});
  EXPECT_FALSE(Exists(menu)) << "emptied of our links, the folder goes";
  EXPECT_FALSE(Exists(folders.desktop + "\\TwinsiftUnit.Lnk"));
  EXPECT_TRUE(Exists(folders.desktop + "\\TwinsiftUnitOther.Lnk")) << "a link to another program stays";
  EXPECT_FALSE(Exists(kInstallDir));
  EXPECT_TRUE(outcome.left.empty());
  EXPECT_TRUE(outcome.kept.empty());
  FinishLines lines = FinishText(" TwinsiftUnit", outcome);
  EXPECT_EQ(lines.title, " TwinsiftUnit is removed from your computer.");
  EXPECT_TRUE(lines.details.empty());
}

TEST_F(RemovalOutcome, AMenuFolderWithTheUsersOwnThingsIsKeptAndNamedSo) {
  const std::string menu = Menu();
  MakeLink(std::string(kInstallDir) + "Twinsift.Exe", menu + "\\Twinsift.Lnk");
  MakeLink("C:\\windows\\notepad.exe", menu + "\\Notes.Lnk");
  WriteTextFile(menu + "\\readme.txt", "mine");
  WriteTextFile(std::string(kInstallDir) + "notes.txt", "mine");
  uninstall::RemovalOutcome outcome = Remove();
  EXPECT_FALSE(Exists(menu + "\\Twinsift.Lnk"));
  EXPECT_TRUE(Exists(menu + "\\Notes.Lnk") && Exists(menu + "\\readme.txt"));
  EXPECT_TRUE(outcome.left.empty());
  ASSERT_EQ(outcome.kept.size(), 2u);
  FinishLines lines = FinishText(" TwinsiftUnit", outcome);
  EXPECT_EQ(lines.title, " TwinsiftUnit is removed from your computer.");
  std::vector<std::string> details = {"Kept, as it holds files of your own:", "  " + menu,
                                      "  " + std::string(kInstallDir)};
  EXPECT_EQ(lines.details, details);
}

TEST_F(RemovalOutcome, AFileHeldOpenIsNamedAsLeftAndItsFolderNotAsKept) {
  const std::string held = std::string(kInstallDir) + "Twinsift.Exe";
  HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  uninstall::RemovalOutcome outcome = Remove();
  CloseHandle(file);
  ASSERT_EQ(outcome.left.size(), 1u);
  EXPECT_EQ(Narrow(outcome.left[0]), held);
  EXPECT_TRUE(outcome.kept.empty()) << "what is left in it explains the folder";
  FinishLines lines = FinishText(" TwinsiftUnit", outcome);
  EXPECT_EQ(lines.title, " TwinsiftUnit is not removed completely.");
  std::vector<std::string> details = {"Could not be removed (close what uses it and delete it):", "  " + held};
  EXPECT_EQ(lines.details, details);
}

TEST_F(RemovalOutcome, FoldersOfWindowsOrOtherProgramsAreNeverTouched) {
  // The Startup folder holds a link to our program: it still stays, as does everything in it.
  std::string startup = folders.programMenu + "\\Startup";
  CreateDirectoryA(startup.c_str(), nullptr);
  MakeLink(std::string(kInstallDir) + "Twinsift.Exe", startup + "\\TwinsiftUnit.Lnk");
  uninstall::RemovalOutcome outcome = Remove({"<SStartup>", "<S..>", "<TDesktop.ini>"});
  EXPECT_TRUE(Exists(startup + "\\TwinsiftUnit.Lnk"));
  EXPECT_TRUE(outcome.left.empty());
  DeleteFileA((startup + "\\TwinsiftUnit.Lnk").c_str());
}

TEST_F(RemovalOutcome, AMenuFolderThatIsAJunctionIsNotFollowed) {
  std::string elsewhere = std::string(kRoot) + "Elsewhere";
  CreateDirectoryA(elsewhere.c_str(), nullptr);
  MakeLink(std::string(kInstallDir) + "Twinsift.Exe", elsewhere + "\\Twinsift.Lnk");
  RemoveTree(Menu());
  bool made = MakeJunction(Menu(), elsewhere);
  DWORD attributes = GetFileAttributesA(Menu().c_str());
  if (!made || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "no junction could be made here (the call said " << (made ? "yes" : "no")
                 << ", the folder has no reparse point)";
  Remove();
  EXPECT_TRUE(Exists(elsewhere + "\\Twinsift.Lnk")) << "the junction's target stays whole";
}

// Ours is what loads as a link to our files or to the address, not what merely mentions the address.
TEST_F(RemovalOutcome, AFileMentioningTheWebsiteIsTheUsersOwn) {
  const std::string dir = kInstallDir, menu = Menu();
  MakeLink(dir + "Twinsift.Exe", menu + "\\Twinsift.Lnk");
  MakeLink(kWebsite, menu + "\\Website.Lnk");
  WriteTextFile(menu + "\\notes.txt", std::string("see ") + kWebsite);
  Remove();
  EXPECT_FALSE(Exists(menu + "\\Twinsift.Lnk") || Exists(menu + "\\Website.Lnk"));
  EXPECT_TRUE(Exists(menu + "\\notes.txt"));
}

// A second installation made its links over the same menu folder: they are its own, the website's too.
TEST_F(RemovalOutcome, AMenuFolderWhoseLinksStartAnotherInstallationStaysWhole) {
  const std::string other = std::string(kRoot) + "Other\\", menu = Menu();
  CreateDirectoryA(other.c_str(), nullptr);
  for (const char* file : {"Twinsift.Exe", "Uninstall.Exe"}) WriteTextFile(other + file, "x");
  MakeLink(other + "Twinsift.Exe", menu + "\\Twinsift.Lnk");
  MakeLink(kWebsite, menu + "\\Website.Lnk");
  MakeLink(other + "Uninstall.Exe", menu + "\\Uninstall.Lnk");
  e2e::FileTree before = e2e::SnapshotTree(menu);
  Remove();
  EXPECT_TRUE(e2e::TreeDifferences(before, e2e::SnapshotTree(menu)).empty());
  EXPECT_FALSE(Exists(kInstallDir));
}

// A record without the desktop line (a later run left the box unticked): the first run's desktop link
// goes when it starts our utility, and stays when it starts another one.
TEST_F(RemovalOutcome, WithoutADesktopLineOnlyTheLinkToOurUtilityGoes) {
  const std::string link = folders.desktop + "\\Twinsift.Lnk", other = std::string(kRoot) + "Twinsift.Exe";
  for (const auto& [target, gone] : {std::pair{std::string(kInstallDir) + "Twinsift.Exe", true}, {other, false}}) {
    SetUp();
    WriteTextFile(other, "x");
    MakeLink(target, link);
    Remove();
    EXPECT_EQ(Exists(link), !gone) << target;
  }
}
