#include "SetupPages.h"
#include "install/Installation.h"
#include "install/PNL_Installing.h"
#include "pages/PNL_ChooseDirectory.h"
#include "pages/PNL_Disclaimer.h"
#include "pages/PNL_Install_Go.h"
#include "pages/PNL_Install_Ready.h"
#include "pages/PNL_Welcome.h"

PageTable SetupPages(InstallSettings& settings) {
  using namespace setup_pages;
  InstallSettings* shared = &settings;
  // name, role, previous, next, how it is made
  return {
      {kWelcome, PageRole::kFirst, "", kDisclaimer,
       [](Navigation& wizard) { return std::make_unique<TPnlWelcome>(wizard); }},
      {kDisclaimer, PageRole::kHeaderTarget, kWelcome, kChooseDirectory,
       [](Navigation& wizard) { return std::make_unique<TPnlDisclaimer>(wizard); }},
      {kChooseDirectory, PageRole::kNone, kDisclaimer, kInstallGo,
       [shared](Navigation& wizard) { return std::make_unique<TPnlChooseDirectory>(wizard, *shared); }},
      {kInstallGo, PageRole::kNone, kChooseDirectory, kInstalling,
       [shared](Navigation& wizard) { return std::make_unique<TPNLInstall_Go>(wizard, *shared); }},
      {kInstalling, PageRole::kNone, "", kInstallReady,
       [shared](Navigation& wizard) {
         return std::make_unique<TPnlInstalling>(wizard, *shared, CarriedPrograms());
       }},
      {kInstallReady, PageRole::kNone, "", "",
       [shared](Navigation& wizard) { return std::make_unique<TPnlInstall_Ready>(wizard, *shared); }},
  };
}
