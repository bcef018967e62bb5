#pragma once
#include "gui/label/Label.h"
#include "gui/picture/Picture.h"
#include "gui/statictext/StaticText.h"
#include "shell/Frame_Panel.h"

// The first page: thanks, what the utility does, what the installation leaves alone, and the maker.
class TPnlWelcome : public TFramePanel {
 public:
  explicit TPnlWelcome(Navigation& navigation);
  void SetupButtons(tNvButtonBar& bar) override;

  // Declared, and so made, in the layout's creation order, which decides what is painted over what and the
  // windows' z-order; the tab order is the layout's own.
  gui::Picture& Image1;
  gui::Label& Label1;
  gui::Label& Label2;
  gui::Label& Label3;
  gui::StaticText& StaticText1;
  gui::StaticText& StaticText6;

  void NextClick();
};
