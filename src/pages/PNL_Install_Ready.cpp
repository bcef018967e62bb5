#include "pages/PNL_Install_Ready.h"
#include "record/UninstallRecord.h"
#include "shell/NVI_ButtonBar.h"
#include "win32/TextCodes.h"
#include "win32/UniqueHandle.h"

std::string UtilityCommandLine(const std::string& installDir) {
  return "\"" + installDir + record::kUtilityFile + "\"";
}

TPnlInstall_Ready::TPnlInstall_Ready(Navigation& navigation, const InstallSettings& settings)
    : TFramePanel(navigation), Label9(Add<gui::Label>()), Image1(Add<gui::Picture>()),
      settings_(settings) {
  PanelCaption = "Installation completed";
  Label9.SetBounds(8, 24, 0, 13);
  Label9.GetFont().SetBold(true);
  Label9.SetCaption("The installation of Twinsift is completed successfully.");
  // Drawn at its own size: the top 40 rows lie above the page's edge.
  Image1.SetBounds(408, -40, 304, 417);
  Image1.LoadJpegResource("WELCOME_JPG");
}

void TPnlInstall_Ready::SetupButtons(tNvButtonBar& bar) {
  AddExitButton(bar);
  bar.AddButtonRight("&Run Twinsift", 2, 3, [this] { RunClick(); });
}

void TPnlInstall_Ready::PanelEnter() {
  // The box before this page has named them.
  if (!settings_.Missing.empty())
    Label9.SetCaption("Twinsift is installed, but some links are missing.");
}

void TPnlInstall_Ready::RunClick() {
  // A utility that does not start is not reported: the wizard has done its part either way.
  // The program named in full: nothing is searched for, whatever the folder is called.
  const std::wstring program = win32::WideFromUtf8(settings_.InstallDir + record::kUtilityFile);
  std::wstring command = win32::WideFromUtf8(UtilityCommandLine(settings_.InstallDir));  // the call may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION started{};
  CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
  win32::UniqueHandle process(started.hProcess), thread(started.hThread);
  // The wizard stays until the utility takes input, as it always has: its window is up by then.
  if (process) WaitForInputIdle(process.get(), 30000);
  Wizard.CloseWizard();
}
