#include "shell/Frame_Panel.h"
#include "shell/NVI_ButtonBar.h"

TFramePanel::TFramePanel(Navigation& navigation) : gui::Frame(nullptr), Wizard(navigation) {
  SetBounds(0, 0, kDesignWidth, kDesignHeight);
  SetConstraints(kDesignWidth, kDesignHeight);
  SetColor(gui::clSkyBlue);
  SetAlign(gui::Align::Client);
}

void TFramePanel::SetupButtons(tNvButtonBar&) {}
void TFramePanel::PanelEnter() {}
void TFramePanel::PanelAfterShow() {}

void TFramePanel::ExitClick() { Wizard.CloseWizard(); }

void TFramePanel::AddExitButton(tNvButtonBar& bar) {
  bar.AddButtonLeft("&Exit", 1, 1, [this] { ExitClick(); });
}
