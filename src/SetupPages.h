#pragma once
#include "install/InstallSettings.h"
#include "shell/PageTable.h"

// The wizard's six pages in their order, each reading and storing settings.
PageTable SetupPages(InstallSettings& settings);
