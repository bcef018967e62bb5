#include "pages/PNL_Install_Go.h"
#include "shell/NVI_ButtonBar.h"

TPNLInstall_Go::TPNLInstall_Go(Navigation& navigation, InstallSettings& settings)
    : TFramePanel(navigation),
      Image7(Add<gui::Picture>()),
      Label1(Add<gui::Label>()),
      Label2(Add<gui::Label>()),
      Label6(Add<gui::Label>()),
      cbShortcut(Add<gui::CheckBox>()),
      settings_(settings) {
  PanelCaption = "Ready to install";
  Image7.SetBounds(8, 8, 193, 164);
  Image7.SetStretch(true);
  Image7.LoadJpegResource("READY_JPG");
  Label1.SetBounds(208, 16, 0, 13);
  Label1.SetCaption("All questions are answered.");
  Label2.SetBounds(208, 32, 0, 13);
  Label2.SetCaption("Click the button \"Install Now\" and the installation will begin.");
  Label6.SetBounds(228, 55, 0, 13);
  Label6.SetCaption("Label6");
  cbShortcut.SetBounds(228, 72, 201, 17);
  cbShortcut.SetCaption("&Create a shortcut on the desktop");
  cbShortcut.SetChecked(true);
}

void TPNLInstall_Go::SetupButtons(tNvButtonBar& bar) {
  AddExitButton(bar);
  bar.AddButtonRight("&Install Now", 2, 2, [this] { InstallNowClick(); });
  bar.AddButtonRight("&Previous", 3, 1, [this] { PreviousClick(); });
}

void TPNLInstall_Go::PanelEnter() { Label6.SetCaption("Installation directory = " + settings_.InstallDir); }

void TPNLInstall_Go::InstallNowClick() {
  settings_.DesktopShortcut = cbShortcut.Checked();
  Wizard.Next();
}

void TPNLInstall_Go::PreviousClick() { Wizard.Previous(); }
