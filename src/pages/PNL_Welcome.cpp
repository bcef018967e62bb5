#include "pages/PNL_Welcome.h"

TPnlWelcome::TPnlWelcome() : TFramePanel("PnlWelcome") { PanelCaption = "Welcome"; }
