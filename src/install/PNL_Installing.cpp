#include "install/PNL_Installing.h"
#include <shlobj.h>
#include <cmath>
#include "gui/core/Application.h"
#include "install/Appl_Globals.h"
#include "install/EB_Twinsift_exe.h"
#include "install/EB_Uninstall_exe.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProtectedFolder.h"
#include "record/win32/WidePaths.h"
#include "install/Shortcut.h"
#include "install/RecordFile.h"
#include "shell/Form_Main.h"

std::int64_t RunProgressSpan() {
  return ProgressSpan(EB_Twinsift_exe::Payload()) + ProgressSpan(EB_Uninstall_exe::Payload());
}

std::uint32_t ShareOfMaximum(int maximum, int percent) {
  long double share = static_cast<long double>(maximum) / 100 * percent;
  return static_cast<std::uint32_t>(std::nearbyintl(share));
}

bool DirectoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateDirectoryChain(const std::string& directory) {
  std::string path = directory;
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  // A drive ("C:") or nothing left: there is nothing above to make.
  if (path.empty() || (path.size() == 2 && path[1] == ':') || DirectoryExists(path)) return;
  size_t parentEnd = path.find_last_of("\\/");
  if (parentEnd != std::string::npos && parentEnd > 0) CreateDirectoryChain(path.substr(0, parentEnd + 1));
  CreateProtectedDirectory(record::Widen(path));
}

TPnlInstalling::TPnlInstalling()
    : TFramePanel("PnlInstalling"), ProgressBar1(Add<gui::ProgressBar>()), Label12(Add<gui::Label>()) {
  PanelCaption = "Installing Twinsift";
  ProgressBar1.SetBounds(39, 208, 634, 26);
  Label12.SetBounds(344, 176, 60, 13);
  Label12.GetFont().SetColor(gui::clWhite);
  Label12.SetCaption("0% complete");
  // A step takes microseconds and drawing it a millisecond or more: show the progress once a frame.
  ProgressBar1.SetRedrawInterval(kRedrawIntervalMs);
  Label12.SetRedrawInterval(kRedrawIntervalMs);
}

void TPnlInstalling::ShowWaitingProgress() {
  ProgressBar1.Flush();
  Label12.Flush();
}

void TPnlInstalling::SetProgress(std::uint32_t value) {
  ProgressBar1.SetPosition(static_cast<int>(value));
  Label12.SetCaption(PercentCompleteText(static_cast<int>(value), ProgressBar1.Max()));
  ShowWaitingProgress();
  gui::Application::Instance().ProcessMessages();
  if (OnProgressShown) OnProgressShown();
}

void TPnlInstalling::PanelEnter() { SetProgress(0); }

void TPnlInstalling::Extract(const PayloadData& payload, const std::string& target, bool showProgress) {
  PayloadExtractor extractor(payload, showProgress ? &ProgressBar1 : nullptr, showProgress ? &Label12 : nullptr);
  extractor.OnProgress = [this](std::int64_t) {
    if (OnProgressShown) OnProgressShown();
  };
  // Bar and label show where the extraction stopped, whether it ended or failed.
  struct ShownAtEnd {
    TPnlInstalling& page;
    ~ShownAtEnd() { page.ShowWaitingProgress(); }
  } shownAtEnd{*this};
  extractor.ExtractToFile(target);
}

void TPnlInstalling::PanelAfterShow() {
  ProgressBar1.SetMax(static_cast<int>(RunProgressSpan()));
  const int span = ProgressBar1.Max();
  ProgressBar1.SetMax(span + span / 30);  // room for the steps after the unpacking
  const int maximum = ProgressBar1.Max();
  const std::string directory = InstallDir;

  if (!DirectoryExists(directory)) CreateDirectoryChain(directory);
  Extract(EB_Twinsift_exe::Payload(), directory + "Twinsift.Exe", true);
  Extract(EB_Uninstall_exe::Payload(), directory + "Uninstall.Exe", false);
  SetProgress(ShareOfMaximum(maximum, 94));
  CreateMenuShortcuts();
  SetProgress(ShareOfMaximum(maximum, 96));
  if (DesktopShortcut) CreateDesktopShortcut();
  SetProgress(ShareOfMaximum(maximum, 98));
  WriteUninstallRecord(directory, DesktopShortcut);
  FormMain->ShowPanel("PNLInstall_Ready", true);
}

namespace {
// The current path of a shell folder, or nothing when the shell cannot tell it.
bool ShellFolder(int folderId, std::string& path) {
  char buffer[MAX_PATH] = {};
  if (SHGetFolderPathA(FormMain->HandleIfAllocated(), folderId, nullptr, 0, buffer) != S_OK) return false;
  path = buffer;
  return true;
}
}  // namespace

void TPnlInstalling::CreateMenuShortcuts() {
  std::string programs;
  if (!ShellFolder(CSIDL_PROGRAMS, programs)) return;
  const std::string menu = programs + "\\Twinsift";
  CreateDirectoryA(menu.c_str(), nullptr);  // it may exist from an earlier installation
  CreateShortcut(InstallDir + "Twinsift.Exe", menu + "\\Twinsift.Lnk", "Twinsift", "", 0);
  CreateShortcut(kWebsite, menu + "\\Website.Lnk", "Twinsift Website", "", -1);
  CreateShortcut(InstallDir + "Uninstall.Exe", menu + "\\Uninstall.Lnk", "Uninstall Twinsift", "", 0);
}

void TPnlInstalling::CreateDesktopShortcut() {
  std::string desktop;
  if (!ShellFolder(CSIDL_DESKTOPDIRECTORY, desktop)) return;
  CreateShortcut(InstallDir + "Twinsift.Exe", desktop + "\\Twinsift.Lnk", "Twinsift", "", 0);
}
