#pragma once
#include "install/InstallSettings.h"
#include "shell/PageTable.h"

// The names of the wizard's pages, as their sheets take them.
namespace setup_pages {
inline constexpr const char* kWelcome = "PnlWelcome";
inline constexpr const char* kDisclaimer = "PnlDisclaimer";
inline constexpr const char* kChooseDirectory = "PnlChooseDirectory";
inline constexpr const char* kInstallGo = "PNLInstall_Go";
inline constexpr const char* kInstalling = "PnlInstalling";
inline constexpr const char* kInstallReady = "PnlInstall_Ready";
}  // namespace setup_pages

// The wizard's six pages in their order, each reading and storing settings.
PageTable SetupPages(InstallSettings& settings);
