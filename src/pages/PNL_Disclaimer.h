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

  explicit TPnlDisclaimer(Navigation& navigation);
  void SetupButtons(tNvButtonBar& bar) override;
  void PanelEnter() override;

  // Declared, and so made, in the layout's creation order, which decides what is painted over what and the
  // windows' z-order; the tab order is the layout's own.
  gui::Picture& Image3;
  gui::StaticText& txtDisclaimer;
  gui::CheckBox& CheckBox1;

  void NextClick();
  void PreviousClick();
};
