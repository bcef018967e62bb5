#pragma once
#include <string>
#include "gui/frame/Frame.h"
#include "shell/Navigation.h"

class tNvButtonBar;

// The base of every wizard page: the header text it carries and the three steps through which
// the main window hands control to the page that becomes current.
class TFramePanel : public gui::Frame {
 public:
  static constexpr int kDesignWidth = 712;
  static constexpr int kDesignHeight = 377;

  // Pages are made without a parent; AddPanel hands them to a sheet, which then owns them.
  explicit TFramePanel(Navigation& navigation);

  std::string PanelCaption;

  virtual void SetupButtons(tNvButtonBar& bar);  // lay the page's buttons; the base lays none
  virtual void PanelEnter();                     // fill the controls from the current state
  virtual void PanelAfterShow();                 // work that starts once the page is fully in view

  void ExitClick();  // closes the wizard

 protected:
  // "&Exit" in the bar's first place from the left, as the pages that offer it have it.
  void AddExitButton(tNvButtonBar& bar);

  Navigation& Wizard;
};
