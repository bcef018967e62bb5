#include "pages/PNL_ChooseDirectory.h"

TPnlChooseDirectory::TPnlChooseDirectory() : TFramePanel("PnlChooseDirectory") { PanelCaption = "Choose installation directory"; }
