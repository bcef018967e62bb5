#pragma once
#include "gui/label/Label.h"
#include "gui/picture/Picture.h"
#include "gui/statictext/StaticText.h"
#include "shell/Frame_Panel.h"

// The first page: thanks, what the utility does, what the installation leaves alone, and the maker.
class TPnlWelcome : public TFramePanel {
 public:
  TPnlWelcome();
  void SetupButtons(tNvButtonBar& bar) override;

  gui::Picture& Image1;
  gui::Label& Label1;
  gui::StaticText& StaticText1;
  gui::StaticText& StaticText6;
  gui::Label& Label2;
  gui::Label& Label3;

  void ExitClick();
  void NextClick();
};
