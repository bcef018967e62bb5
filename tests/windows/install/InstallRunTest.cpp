// The installation run inside the test process: the run alone with a recording sink, the installing page
// that shows it, the record and the links.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <memory>
#include "e2e/InstalledFiles.h"
#include "gui/core/Application.h"
#include "install/Installation.h"
#include "install/PNL_Installing.h"
#include "install/Shortcut.h"
#include "install/RecordFile.h"
#include "pages/PNL_Install_Go.h"
#include "pages/PNL_Install_Ready.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/TestPayload.h"
#include "record/win32/WidePaths.h"
#include "shell/Form_Main.h"
#include "toolkit/ComApartment.h"
#include "toolkit/WizardWindow.h"
#include "win32/TextCodes.h"

namespace {

// The record of an installation into dir, as the uninstaller reads it.
std::string RecordFor(const std::string& dir, bool desktopLink) {
  return "Twinsift\r\n<F" + dir + "Twinsift.Exe>\r\n<F" + dir + "Uninstall.Exe>\r\n<F" + dir + "Uninstall.Dat>\r\n<E" +
         dir + ">\r\n<STwinsift>\r\n" + (desktopLink ? "<TTwinsift.Lnk>\r\n" : "");
}

// Writes down what the run reports, one line a call.
class RecordingProgress : public InstallProgress {
 public:
  void Begin(int maximum) override { Note("begin " + std::to_string(maximum)); }
  void Unpacked(std::uint32_t position) override { Note("unpacked " + std::to_string(position)); }
  void UnpackedUnseen() override { Note("unseen"); }
  void UnpackingStopped() override { Note("stopped"); }
  void StepDone(std::uint32_t position) override { Note("step " + std::to_string(position)); }
  std::vector<std::string> calls;
  std::function<void(const std::string&)> onCall;

 private:
  void Note(const std::string& call) {
    calls.push_back(call);
    if (onCall) onCall(call);
  }
};

// Runs installations of two small programs into a fresh folder, with no window anywhere.
class Engine : public ::testing::Test {
 protected:
  void SetUp() override { settings.InstallDir = folder.File("new\\deeper\\"); }
  void TearDown() override {
    e2e::Installation{settings.InstallDir}.Remove();
    RemoveDirectoryA(folder.File("new").c_str());
  }

  ComApartment apartment;  // the links are saved through COM
  ScratchFolder folder;
  InstallSettings settings;
  std::vector<unsigned char> utilityProgram = SampleProgram(2500);
  std::vector<unsigned char> uninstallerProgram = SampleProgram(1100);
  TestPayload utility{utilityProgram};
  TestPayload uninstaller{uninstallerProgram};
  RecordingProgress progress;
};

}  // namespace

TEST_F(Engine, ReportsEveryStepOnTheRunsScaleAndInstallsEverything) {
  settings.DesktopShortcut = true;
  RunInstallation(settings, progress, nullptr, {utility.data, uninstaller.data});

  // The sample programs pack into 1548 and 817 bytes: the scale is the 5965 bytes read and written and a
  // thirtieth more for the last steps.
  ASSERT_EQ(utility.data.streamLength, 1548);
  ASSERT_EQ(uninstaller.data.streamLength, 817);
  const std::vector<std::string> expected = {
      "begin 6163",
      "unpacked 1024", "unpacked 2048",                    // the utility's two blocks read
      "unpacked 2572", "unpacked 3596", "unpacked 4048",   // and its 2500 bytes written
      "stopped",
      "unseen", "unseen", "unseen",                        // the uninstaller's block, its 1024 and 1100 bytes
      "stopped",
      "step 5793", "step 5916", "step 6040"};              // 94, 96 and 98 % of the scale
  EXPECT_EQ(progress.calls, expected);

  EXPECT_EQ(ReadFileBytes(settings.InstallDir + "Twinsift.Exe"), utilityProgram);
  EXPECT_EQ(ReadFileBytes(settings.InstallDir + "Uninstall.Exe"), uninstallerProgram);
  EXPECT_EQ(e2e::ReadText(settings.InstallDir + "UnInstall.dat"), RecordFor(settings.InstallDir, true));
  EXPECT_EQ(e2e::ReadLink(e2e::Installation::MenuFolder() + "\\Uninstall.Lnk").target,
            settings.InstallDir + "Uninstall.Exe");
  EXPECT_EQ(e2e::ReadLink(e2e::Installation::DesktopLink()).target, settings.InstallDir + "Twinsift.Exe");
}

TEST_F(Engine, DamagedUninstallerStopsTheRunAfterShowingWhereItStood) {
  auto stream = uninstaller.stream;
  stream[stream.size() / 2] ^= 0x5A;
  uninstaller.Store(stream);
  try {
    RunInstallation(settings, progress, nullptr, {utility.data, uninstaller.data});
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Error");
  }
  ASSERT_FALSE(progress.calls.empty());
  EXPECT_EQ(progress.calls.back(), "stopped") << "the unpacking that failed still shows where it stood";
  EXPECT_EQ(std::count(progress.calls.begin(), progress.calls.end(), "stopped"), 2);
  for (const std::string& call : progress.calls) EXPECT_NE(call.rfind("step", 0), 0u) << call;
  EXPECT_TRUE(e2e::FileExists(settings.InstallDir + "Twinsift.Exe"));
  EXPECT_FALSE(e2e::FileExists(settings.InstallDir + "Uninstall.Exe"));
  EXPECT_FALSE(e2e::FileExists(settings.InstallDir + "UnInstall.dat"));
}

TEST(RunScale, SharesRoundHalvesToEven) {
  struct Case {
    int maximum, percent;
    std::uint32_t share;
  } cases[] = {{1000, 94, 940}, {50, 1, 0}, {150, 1, 2}, {250, 1, 2}, {2872294, 98, 2814848}, {0, 98, 0}};
  for (const Case& c : cases) EXPECT_EQ(ShareOfMaximum(c.maximum, c.percent), c.share) << c.maximum << " " << c.percent;
}

namespace {

class InstallRun : public ::testing::Test, protected WizardWindow {
 protected:
  void SetUp() override { settings.InstallDir = folder.File("new\\deeper\\"); }
  void TearDown() override {
    e2e::Installation{settings.InstallDir}.Remove();
    RemoveDirectoryA(folder.File("new").c_str());
  }
  template <class Page>
  Page& page(const char* name) {
    return *dynamic_cast<Page*>(form->FindSheet(name)->Controls().front());
  }

  ScratchFolder folder;
};

int g_handled = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++g_handled;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(InstallRun, LabelClimbsThroughTheUtilityStandsStillThenShowsTheLastSteps) {
  auto& installing = page<TPnlInstalling>("PnlInstalling");
  std::vector<std::string> captions;
  std::vector<int> positions;
  installing.OnProgressShown = [&] {
    captions.push_back(installing.Label12.Caption());
    positions.push_back(installing.ProgressBar1.Position());
  };
  settings.DesktopShortcut = false;
  form->ShowPanel("PnlInstalling", false);

  ASSERT_EQ(form->CurrentPage()->Name(), "PnlInstall_Ready");
  const auto& utility = EB_Twinsift_exe::Payload();
  const auto& uninstaller = EB_Uninstall_exe::Payload();
  const std::int64_t span = utility.streamLength + utility.decompressedLength + uninstaller.streamLength +
                            uninstaller.decompressedLength;
  const int maximum = installing.ProgressBar1.Max();
  EXPECT_EQ(maximum, span + span / 30);
  const size_t blocks = static_cast<size_t>(utility.blockCount);
  const size_t writes = static_cast<size_t>(utility.decompressedLength / 1024 + 1);
  ASSERT_GT(captions.size(), 1 + blocks + writes + 3);
  EXPECT_EQ(captions.front(), "0% complete") << "on entry";
  EXPECT_EQ(positions[blocks], utility.blockCount * 1024) << "after the utility's blocks";
  EXPECT_EQ(positions[blocks + writes], utility.streamLength + utility.decompressedLength)
      << "after the utility is written";
  EXPECT_NE(captions[blocks], captions.front());
  for (size_t i = blocks + writes; i < captions.size() - 3; ++i) {
    ASSERT_EQ(captions[i], captions[blocks + writes]) << "still while the uninstaller is unpacked, step " << i;
    ASSERT_EQ(positions[i], positions[blocks + writes]) << "step " << i;
  }
  EXPECT_EQ(captions[captions.size() - 3], "94% complete");
  EXPECT_EQ(captions[captions.size() - 2], "96% complete");
  EXPECT_EQ(captions.back(), "98% complete");
  for (size_t i = 1; i < captions.size(); ++i) {
    ASSERT_LE(std::stoi(captions[i - 1]), std::stoi(captions[i])) << "rising, step " << i;
    ASSERT_NEAR(std::stoi(captions[i]), 100.0 * positions[i] / maximum, 0.5) << "what the bar holds, step " << i;
  }
  EXPECT_NEAR(installing.ProgressBar1.Position(), 0.98 * maximum, 1.0);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(e2e::ReadText(settings.InstallDir + "UnInstall.dat"), RecordFor(settings.InstallDir, false));
}

TEST_F(InstallRun, EveryStepLetsPendingMessagesRun) {
  // A message posted at each step must have been handled by the next one.
  g_handled = 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TwinsiftMessageCounter";
  RegisterClassA(&wc);
  HWND counter = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(counter);
  auto& installing = page<TPnlInstalling>("PnlInstalling");
  int steps = 0;
  installing.OnProgressShown = [&] {
    EXPECT_EQ(g_handled, steps) << "after step " << steps;
    ++steps;
    PostMessageA(counter, WM_APP, 0, 0);
  };
  form->ShowPanel("PnlInstalling", false);
  installing.OnProgressShown = nullptr;
  const auto& utility = EB_Twinsift_exe::Payload();
  const auto& uninstaller = EB_Uninstall_exe::Payload();
  // On entry, every block and piece of both programs, and the three steps after them.
  const std::int64_t expected = 1 + utility.blockCount + utility.decompressedLength / 1024 + 1 +
                                uninstaller.blockCount + uninstaller.decompressedLength / 1024 + 1 + 3;
  EXPECT_EQ(steps, expected);
  DestroyWindow(counter);
}

TEST_F(InstallRun, PercentRoundsHalvesToEvenFromWhatTheBarHolds) {
  auto& installing = page<TPnlInstalling>("PnlInstalling");
  installing.Begin(8);
  auto percentAt = [&](std::uint32_t position) {
    installing.Unpacked(position);
    return installing.Label12.Caption();
  };
  EXPECT_EQ(percentAt(1), "12% complete");   // 12.5
  EXPECT_EQ(percentAt(3), "38% complete");   // 37.5
  EXPECT_EQ(percentAt(5), "62% complete");   // 62.5
  EXPECT_EQ(percentAt(7), "88% complete");   // 87.5
  EXPECT_EQ(percentAt(9), "100% complete") << "the bar holds 8";
  installing.Unpacked(3);
  installing.UnpackedUnseen();
  EXPECT_EQ(installing.Label12.Caption(), "38% complete") << "a step that is not shown writes nothing";
  EXPECT_EQ(installing.ProgressBar1.Position(), 3);
}

TEST_F(InstallRun, ReadyPageShowsTheDirectoryAndStoresTheTick) {
  auto& ready = page<TPNLInstall_Go>("PNLInstall_Go");
  form->ShowPanel("PnlInstall_Go", false);
  EXPECT_EQ(ready.Label6.Caption(), "Installation directory = " + settings.InstallDir);
  EXPECT_TRUE(ready.cbShortcut.Checked()) << "ticked from the start";
  EXPECT_EQ(form->PnlButtons.LeftCount, 1);
  EXPECT_EQ(form->PnlButtons.RightCount, 2);
  ready.cbShortcut.SetChecked(false);
  settings.DesktopShortcut = true;
  ready.InstallNowClick();
  EXPECT_FALSE(settings.DesktopShortcut);
  EXPECT_EQ(form->CurrentPage()->Name(), "PnlInstall_Ready");
  EXPECT_EQ(UtilityCommandLine("C:\\Program Files\\Twinsift\\"), "\"C:\\Program Files\\Twinsift\\Twinsift.Exe\"");
}

TEST(UninstallRecord, IsWrittenByteForByteAndReplacesAnOldOne) {
  ScratchFolder folder;
  // A folder the code page (1252) holds: the record stays in it, byte for byte.
  CreateDirectoryW(win32::WideFromUtf8(folder.File("Caf\xC3\xA9\\")).c_str(), nullptr);
  WriteUninstallRecord(folder.File("Caf\xC3\xA9\\"), true);
  EXPECT_EQ(e2e::ReadText(folder.File("Caf\xC3\xA9\\UnInstall.dat")), RecordFor(folder.File("Caf\xE9\\"), true));
  const std::string dir = folder.File("");
  WriteFileBytes(dir + "UnInstall.dat", std::vector<unsigned char>(1000, 'x'));
  WriteUninstallRecord(dir, true);
  EXPECT_EQ(e2e::ReadText(dir + "UnInstall.dat"), RecordFor(dir, true));
  WriteUninstallRecord(dir, false);
  std::string six = e2e::ReadText(dir + "UnInstall.dat");
  EXPECT_EQ(six.substr(six.size() - 13), "<STwinsift>\r\n");
  DeleteFileA((dir + "UnInstall.dat").c_str());
}

TEST(UninstallRecord, FailuresCarryTheTextFileMessages) {
  EXPECT_EQ(TextFileError(101), "Disk full");
  EXPECT_EQ(TextFileError(32), "I/O error 32");
  EXPECT_EQ(IoResultFor(ERROR_DISK_FULL), 101) << "a full disk is reported as such, not as a number";
  EXPECT_EQ(OleErrorText(static_cast<long>(0x8BADF00DUL)), "OLE error 8badf00d") << "a code without a text";
  ScratchFolder folder;
  try {
    WriteUninstallRecord(folder.File("missing\\"), false);
    ADD_FAILURE() << "no error for a missing directory";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
  // A name the record cannot take (a directory of that name) is refused as a read-only file would be.
  CreateDirectoryA(folder.File("UnInstall.dat").c_str(), nullptr);
  try {
    WriteUninstallRecord(folder.File(""), true);
    ADD_FAILURE() << "no error for a record that cannot be written";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_FALSE(folder.Has("UnInstall.dat.tmp")) << "the part written is taken away";
  RemoveDirectoryA(folder.File("UnInstall.dat").c_str());
}

TEST(Shortcut, ThatCannotBeSavedIsSilent) {
  e2e::TestApplication();
  ScratchFolder folder;
  HRESULT saved = S_OK;
  EXPECT_NO_THROW(saved = CreateShortcut(record::Widen(folder.File("Twinsift.Exe")),
                                         record::Widen(folder.File("missing\\Twinsift.Lnk")), L"Twinsift", L"", 0));
  EXPECT_TRUE(FAILED(saved)) << "the run names a link it could not save";
  EXPECT_FALSE(e2e::FileExists(folder.File("missing\\Twinsift.Lnk")));
}
