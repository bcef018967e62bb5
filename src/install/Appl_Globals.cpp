#include "install/Appl_Globals.h"
#include "install/PNL_Installing.h"
#include "pages/PNL_ChooseDirectory.h"
#include "pages/PNL_Disclaimer.h"
#include "pages/PNL_Install_Go.h"
#include "pages/PNL_Install_Ready.h"
#include "pages/PNL_Welcome.h"
#include "shell/Form_Main.h"

std::string InstallDir;
bool DesktopShortcut = false;

void CreatePanels() {
  FormMain->AddPanel(new TPnlWelcome());
  FormMain->AddPanel(new TPnlDisclaimer());
  FormMain->AddPanel(new TPnlChooseDirectory());
  FormMain->AddPanel(new TPNLInstall_Go());
  FormMain->AddPanel(new TPnlInstalling());
  FormMain->AddPanel(new TPnlInstall_Ready());
}
