#include "SetupPages.h"
#include "install/Installation.h"
#include "install/PNL_Installing.h"
#include "pages/PNL_ChooseDirectory.h"
#include "pages/PNL_Disclaimer.h"
#include "pages/PNL_Install_Go.h"
#include "pages/PNL_Install_Ready.h"
#include "pages/PNL_Welcome.h"

PageTable SetupPages(InstallSettings& settings) {
  InstallSettings* shared = &settings;
  return {
      {"PnlWelcome", [](Navigation& wizard) { return std::make_unique<TPnlWelcome>(wizard); }},
      {"PnlDisclaimer", [](Navigation& wizard) { return std::make_unique<TPnlDisclaimer>(wizard); }},
      {"PnlChooseDirectory",
       [shared](Navigation& wizard) { return std::make_unique<TPnlChooseDirectory>(wizard, *shared); }},
      {"PNLInstall_Go", [shared](Navigation& wizard) { return std::make_unique<TPNLInstall_Go>(wizard, *shared); }},
      {"PnlInstalling",
       [shared](Navigation& wizard) {
         return std::make_unique<TPnlInstalling>(wizard, *shared, CarriedPrograms());
       }},
      {"PnlInstall_Ready",
       [shared](Navigation& wizard) { return std::make_unique<TPnlInstall_Ready>(wizard, *shared); }},
  };
}
