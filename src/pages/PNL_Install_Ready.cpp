#include "pages/PNL_Install_Ready.h"

TPnlInstall_Ready::TPnlInstall_Ready() : TFramePanel("PnlInstall_Ready") { PanelCaption = "Installation completed"; }
