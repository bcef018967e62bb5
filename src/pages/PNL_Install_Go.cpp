#include "pages/PNL_Install_Go.h"

TPNLInstall_Go::TPNLInstall_Go() : TFramePanel("PNLInstall_Go") { PanelCaption = "Ready to install"; }
