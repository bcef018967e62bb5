#include "install/PNL_Installing.h"

TPnlInstalling::TPnlInstalling() : TFramePanel("PnlInstalling") { PanelCaption = "Installing Twinsift"; }
