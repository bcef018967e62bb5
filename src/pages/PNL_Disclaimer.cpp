#include "pages/PNL_Disclaimer.h"

TPnlDisclaimer::TPnlDisclaimer() : TFramePanel("PnlDisclaimer") { PanelCaption = "Disclaimer"; }
