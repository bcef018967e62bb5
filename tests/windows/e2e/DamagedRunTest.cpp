// A setup program damaged on its way to the user, run to its end through the wizard: a copy of the built
// setup program with one byte flipped inside a packed program, or with a stream cut short, installs through
// "&Install Now". The run must stop with "Error" as it reports every failure, and leave nothing that passes
// for an installed program: no damaged or partly written program, no links, no uninstall record.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>
#include "driver/FileTree.h"
#include "e2e/InstalledFiles.h"
#include "e2e/SetupHarness.h"
#include "payload/EmbeddedPayloads.h"

namespace {

enum class Carried { Utility, Uninstaller };

struct Damage {
  const char* name;
  Carried carried;
  // Where in the stream, from its length.
  std::int64_t (*where)(std::int64_t length);
  // Flip one byte there, or lose everything from there on, as a download cut short and padded would.
  bool cut;
};

const Damage kDamages[] = {
    {"UtilityEarly", Carried::Utility, [](std::int64_t) -> std::int64_t { return 100; }, false},
    {"UtilityMiddle", Carried::Utility, [](std::int64_t length) { return length / 2; }, false},
    // In the stream's checksum: every byte of the program is written before the damage shows.
    {"UtilityChecksum", Carried::Utility, [](std::int64_t length) { return length - 2; }, false},
    {"UtilityCut", Carried::Utility, [](std::int64_t length) { return length * 3 / 5; }, true},
    {"UninstallerMiddle", Carried::Uninstaller, [](std::int64_t length) { return length / 2; }, false},
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

const PayloadData& PayloadOf(Carried carried) {
  return carried == Carried::Utility ? EB_Twinsift_exe::Payload() : EB_Uninstall_exe::Payload();
}

// Where the stored blocks of payload lie in the setup program's file.
std::size_t OffsetIn(const std::vector<unsigned char>& file, const PayloadData& payload) {
  const unsigned char* first = payload.blocks[0];
  auto found = std::search(file.begin(), file.end(), first, first + PayloadBlockSize);
  return found == file.end() ? std::string::npos : static_cast<std::size_t>(found - file.begin());
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
  CloseHandle(file);
  return whole;
}

std::string TemporaryFolder() {
  char path[MAX_PATH];
  return std::string(path, GetTempPathA(MAX_PATH, path));
}

class DamagedRun : public SetupTest, public ::testing::WithParamInterface<Damage> {
 protected:
  const std::string dir = "C:\\Twinsift Damaged\\";

  void SetUp() override {
    const Damage& damage = GetParam();
    std::vector<unsigned char> setupBytes = e2e::ReadBytes(e2e::ProgramFolder() + "Install_Twinsift.exe");
    ASSERT_FALSE(setupBytes.empty());
    const PayloadData& payload = PayloadOf(damage.carried);
    const std::size_t offset = OffsetIn(setupBytes, payload);
    ASSERT_NE(offset, std::string::npos) << "the packed program is not in the setup program";
    const std::int64_t at = damage.where(payload.streamLength);
    ASSERT_TRUE(at >= 0 && at < payload.streamLength);
    auto first = setupBytes.begin() + static_cast<std::ptrdiff_t>(offset + at);
    if (damage.cut)
      std::fill(first, setupBytes.begin() + static_cast<std::ptrdiff_t>(offset + payload.blockCount * std::int64_t{PayloadBlockSize}), 0x55);
    else
      *first ^= 0x10;

    copyFolder = TemporaryFolder() + "twinsift-damaged-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(copyFolder.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(copyFolder + "Install_Twinsift.exe", setupBytes));
    e2e::Installation{dir}.Remove();
    SetupTest::SetUp();
  }
  void TearDown() override {
    SetupTest::TearDown();
    e2e::Installation{dir}.Remove();
    DeleteFileA((copyFolder + "Install_Twinsift.exe").c_str());
    RemoveDirectoryA(copyFolder.c_str());
  }
  std::string ProgramPath() override { return copyFolder + "Install_Twinsift.exe"; }

  std::string copyFolder;
};

}  // namespace

TEST_P(DamagedRun, StopsWithErrorAndLeavesNothingThatPassesForInstalled) {
  GoToDirectory();
  SendMessageA(PageControl("Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dir.c_str()));
  Next();
  ASSERT_TRUE(WaitForPage("Ready to install"));
  if (SendMessageA(PageControl("Button"), BM_GETCHECK, 0, 0) != BST_CHECKED) e2e::Click(PageControl("Button"), 8, 8);
  Press("&Install Now");  // with the desktop link asked for

  auto box = e2e::WaitForMessageBox(setup.Id(), 30000);
  ASSERT_TRUE(box) << "no message box; the page reads " << HeaderText();
  EXPECT_EQ(box->text, "Error.");
  EXPECT_EQ(box->caption, "Twinsift");
  EXPECT_EQ(HeaderText(), "Installing Twinsift") << "the run must not go on to the completion page";
  e2e::AnswerMessageBox(box->window);
  EXPECT_TRUE(e2e::WaitFor([&] { return !e2e::FindMessageBox(setup.Id()); }));
  EXPECT_EQ(HeaderText(), "Installing Twinsift");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(setup.WaitForExit(10000)) << "the setup program ends when its window is closed";

  e2e::Installation installed{dir};
  EXPECT_FALSE(e2e::FileExists(installed.File("Uninstall.Exe")));
  EXPECT_FALSE(e2e::FileExists(installed.File("UnInstall.dat"))) << "a record would claim an installation";
  EXPECT_FALSE(e2e::FileExists(e2e::Installation::MenuFolder()));
  EXPECT_FALSE(e2e::FileExists(e2e::Installation::DesktopLink()));
  if (GetParam().carried == Carried::Utility) {
    EXPECT_FALSE(e2e::FileExists(installed.File("Twinsift.Exe"))) << "a damaged or partly written utility is left";
    EXPECT_EQ(e2e::SnapshotTree(dir), e2e::FileTree()) << "the run leaves its directory empty";
  } else {
    // The utility unpacked whole before the uninstaller's damage showed; the run leaves it as it is, with
    // neither the links nor the record that would make it an installation.
    EXPECT_TRUE(e2e::ReadBytes(installed.File("Twinsift.Exe")) == e2e::ReadBytes(e2e::ProgramFolder() + "Twinsift.exe"));
    EXPECT_EQ(e2e::SnapshotTree(dir).size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedRun, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });
