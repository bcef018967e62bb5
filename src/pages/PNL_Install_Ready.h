#pragma once
#include <string>
#include "gui/label/Label.h"
#include "gui/picture/Picture.h"
#include "install/InstallSettings.h"
#include "shell/Frame_Panel.h"

// The completion page, shown once the installation is done: start the installed utility and leave, or just leave.
class TPnlInstall_Ready : public TFramePanel {
 public:
  TPnlInstall_Ready(Navigation& navigation, const InstallSettings& settings);
  void SetupButtons(tNvButtonBar& bar) override;
  void PanelEnter() override;

  gui::Label& Label9;
  gui::Picture& Image1;

  void RunClick();

 private:
  const InstallSettings& settings_;
};

// The command line that starts the installed utility. Quoted: unquoted, a path with blanks such as
// C:\Program Files\... would start C:\Program.exe first when such a file exists.
std::string UtilityCommandLine(const std::string& installDir);
