// The installation run inside the test process: the page's steps, the record and the links.
#include <gtest/gtest.h>
#include <memory>
#include "e2e/InstalledFiles.h"
#include "gui/core/Application.h"
#include "gui/form/Form.h"
#include "install/Appl_Globals.h"
#include "install/EB_Twinsift_exe.h"
#include "install/PNL_Installing.h"
#include "payload/PayloadExtractor.h"
#include "install/Shortcut.h"
#include "install/RecordFile.h"
#include "record/UninstallRecord.h"
#include "pages/PNL_Install_Go.h"
#include "pages/PNL_Install_Ready.h"
#include "payload/TestPayload.h"
#include "shell/Form_Main.h"

namespace {

class InstallRun : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    gui::Application::Instance().OnError = [this](const std::string& message) { errors.push_back(message); };
    form = std::make_unique<TFormMain>();
    gui::Application::Instance().SetMainForm(form.get());
    InstallDir = folder.File("new\\deeper\\");
  }
  void TearDown() override {
    e2e::Installation{InstallDir}.Remove();
    RemoveDirectoryA(folder.File("new").c_str());
    form.reset();
    gui::Application::Instance().OnError = nullptr;
    InstallDir.clear();
  }
  template <class Page>
  Page& page(const char* name) {
    return *dynamic_cast<Page*>(form->FindSheet(name)->Controls().front());
  }

  ScratchFolder folder;
  std::unique_ptr<TFormMain> form;
  std::vector<std::string> errors;
};

}  // namespace

TEST_F(InstallRun, LabelClimbsThroughTheUtilityStandsStillThenShowsTheLastSteps) {
  auto& installing = page<TPnlInstalling>("PnlInstalling");
  std::vector<std::string> captions;
  installing.OnProgressShown = [&] { captions.push_back(installing.Label12.Caption()); };
  DesktopShortcut = false;
  form->ShowPanel("PnlInstalling", false);

  ASSERT_EQ(form->CurrentPage()->Name(), "PnlInstall_Ready");
  const int maximum = installing.ProgressBar1.Max();
  EXPECT_EQ(maximum, RunProgressSpan() + RunProgressSpan() / 30);
  const auto& utility = EB_Twinsift_exe::Payload();
  const size_t blocks = static_cast<size_t>(utility.blockCount);
  const size_t writes = static_cast<size_t>(utility.decompressedLength / 1024 + 1);
  const std::string afterBlocks = PercentCompleteText(utility.blockCount * 1024, maximum);
  const std::string afterUtility = PercentCompleteText(static_cast<int>(ProgressSpan(utility)), maximum);
  ASSERT_GT(captions.size(), 1 + blocks + writes + 3);
  EXPECT_EQ(captions.front(), "0% complete") << "on entry";
  EXPECT_EQ(captions[blocks], afterBlocks) << "after the utility's blocks";
  EXPECT_EQ(captions[blocks + writes], afterUtility) << "after the utility is written";
  for (size_t i = blocks + writes; i < captions.size() - 3; ++i)
    ASSERT_EQ(captions[i], afterUtility) << "still while the uninstaller is unpacked, step " << i;
  EXPECT_EQ(captions[captions.size() - 3], "94% complete");
  EXPECT_EQ(captions[captions.size() - 2], "96% complete");
  EXPECT_EQ(captions.back(), "98% complete");
  for (size_t i = 1; i < captions.size(); ++i)
    ASSERT_LE(std::stoi(captions[i - 1]), std::stoi(captions[i])) << "rising, step " << i;
  EXPECT_EQ(installing.ProgressBar1.Position(), static_cast<int>(ShareOfMaximum(maximum, 98)));
  EXPECT_TRUE(errors.empty());
  std::string record;
  for (const std::string& line : record::UninstallRecordLines(InstallDir, false)) record += line + "\r\n";
  EXPECT_EQ(e2e::ReadText(InstallDir + "UnInstall.dat"), record);
}

TEST_F(InstallRun, ReadyPageShowsTheDirectoryAndStoresTheTick) {
  auto& ready = page<TPNLInstall_Go>("PNLInstall_Go");
  form->ShowPanel("PnlInstall_Go", false);
  EXPECT_EQ(ready.Label6.Caption(), "Installation directory = " + InstallDir);
  EXPECT_TRUE(ready.cbShortcut.Checked()) << "ticked from the start";
  EXPECT_EQ(form->PnlButtons.LeftCount, 1);
  EXPECT_EQ(form->PnlButtons.RightCount, 2);
  ready.cbShortcut.SetChecked(false);
  DesktopShortcut = true;
  ready.InstallNowClick();
  EXPECT_FALSE(DesktopShortcut);
  EXPECT_EQ(form->CurrentPage()->Name(), "PnlInstall_Ready");
  EXPECT_EQ(UtilityCommandLine("C:\\Program Files\\Twinsift\\"), "\"C:\\Program Files\\Twinsift\\Twinsift.Exe\"");
}

TEST(UninstallRecord, IsWrittenByteForByteAndReplacesAnOldOne) {
  ScratchFolder folder;
  const std::string dir = folder.File("");  // a path with a blank in it
  WriteFileBytes(dir + "UnInstall.dat", std::vector<unsigned char>(1000, 'x'));
  WriteUninstallRecord(dir, true);
  EXPECT_EQ(e2e::ReadText(dir + "UnInstall.dat"),
            "Twinsift\r\n<F" + dir + "Twinsift.Exe>\r\n<F" + dir + "Uninstall.Exe>\r\n<F" + dir + "Uninstall.Dat>\r\n<E" +
                dir + ">\r\n<STwinsift>\r\n<TTwinsift.Lnk>\r\n");
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
  RemoveDirectoryA(folder.File("UnInstall.dat").c_str());
}

TEST(Shortcut, ThatCannotBeSavedIsSilent) {
  EnsureApplication();
  ScratchFolder folder;
  EXPECT_NO_THROW(CreateShortcut(folder.File("Twinsift.Exe"), folder.File("missing\\Twinsift.Lnk"), "Twinsift", "", 0));
  EXPECT_FALSE(e2e::FileExists(folder.File("missing\\Twinsift.Lnk")));
}
