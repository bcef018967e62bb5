#pragma once
#include "gui/directorylist/DirectoryListBox.h"
#include "gui/edit/Edit.h"
#include "gui/picture/Picture.h"
#include "gui/statictext/StaticText.h"
#include "install/InstallSettings.h"
#include "shell/Frame_Panel.h"

// The installation-directory page: proposes a folder, lets the user pick or type another, stores it.
class TPnlChooseDirectory : public TFramePanel {
 public:
  static const char* const kExplanation;

  TPnlChooseDirectory(Navigation& navigation, InstallSettings& settings);
  void SetupButtons(tNvButtonBar& bar) override;
  void PanelEnter() override;

  // Declared, and so made, in the layout's creation order, which decides what is painted over what and the
  // windows' z-order; the tab order is the layout's own.
  gui::Picture& Image5;
  gui::DriveComboBox& DriveComboBox1;
  gui::DirectoryListBox& DirectoryListBox1;
  gui::Edit& Edit1;
  gui::StaticText& StaticText1;

  void DirectoryListBox1Change();
  void NextClick();
  void PreviousClick();

 private:
  InstallSettings& settings_;  // the directory is stored here
};
