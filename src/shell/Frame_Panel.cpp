#include "shell/Frame_Panel.h"

TFramePanel::TFramePanel(Navigation& navigation) : gui::Frame(nullptr), Wizard(navigation) {
  SetBounds(0, 0, kDesignWidth, kDesignHeight);
  SetConstraints(kDesignWidth, kDesignHeight);
  SetColor(gui::clSkyBlue);
  SetAlign(gui::Align::Client);
}

void TFramePanel::SetupButtons(tNvButtonBar&) {}
void TFramePanel::PanelEnter() {}
void TFramePanel::PanelAfterShow() {}
