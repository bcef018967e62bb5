#pragma once
#include "gui/checkbox/CheckBox.h"
#include "gui/label/Label.h"
#include "gui/picture/Picture.h"
#include "install/InstallSettings.h"
#include "shell/Frame_Panel.h"

// The ready-to-install page, the last before the installing one: shows the chosen directory, offers the desktop link and starts the installation.
class TPNLInstall_Go : public TFramePanel {
 public:
  TPNLInstall_Go(Navigation& navigation, InstallSettings& settings);
  void SetupButtons(tNvButtonBar& bar) override;
  void PanelEnter() override;

  gui::Picture& Image7;
  gui::Label& Label1;
  gui::Label& Label2;
  gui::Label& Label6;
  gui::CheckBox& cbShortcut;

  void InstallNowClick();
  void PreviousClick();

 private:
  InstallSettings& settings_;  // the directory is read and the tick stored here
};
