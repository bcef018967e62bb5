#pragma once
#include "gui/checkbox/CheckBox.h"
#include "gui/picture/Picture.h"
#include "gui/statictext/StaticText.h"
#include "shell/Frame_Panel.h"

// The terms page: the user goes on only with the agreement ticked.
class TPnlDisclaimer : public TFramePanel {
 public:
  static const char* const kStatement;
  static const char* const kRefusal;

  TPnlDisclaimer();
  void SetupButtons(tNvButtonBar& bar) override;
  void PanelEnter() override;

  gui::StaticText& txtDisclaimer;
  gui::Picture& Image3;
  gui::CheckBox& CheckBox1;

  void ExitClick();
  void NextClick();
  void PreviousClick();
};
