#include "pages/PNL_Welcome.h"
#include "shell/NVI_ButtonBar.h"

TPnlWelcome::TPnlWelcome(Navigation& navigation)
    : TFramePanel(navigation),
      Image1(Add<gui::Picture>()),
      Label1(Add<gui::Label>()),
      Label2(Add<gui::Label>()),
      Label3(Add<gui::Label>()),
      StaticText1(Add<gui::StaticText>()),
      StaticText6(Add<gui::StaticText>()) {
  PanelCaption = "Welcome";
  // The picture's top 40 rows lie above the page's edge.
  Image1.SetBounds(0, -40, 313, 417);
  Image1.LoadJpegResource("WELCOME_JPG");
  Label1.SetBounds(324, 8, 0, 13);
  Label1.GetFont().SetBold(true);
  Label1.SetCaption("Thank you for installing Twinsift");
  Label2.SetBounds(330, 161, 0, 13);
  Label2.SetCaption("We hope you'll find Twinsift very usefull.");
  Label3.SetBounds(480, 185, 0, 13);
  Label3.SetCaption("Norveth Software");
  StaticText1.SetBounds(328, 38, 293, 43);
  StaticText1.SetTabOrder(0);
  StaticText1.SetCaption(
      "Twinsift can be used for searching and removing double files from your harddisks. You can keep clean your "
      "collections of images, music and more. ");
  StaticText6.SetBounds(329, 91, 294, 53);
  StaticText6.SetTabOrder(1);
  StaticText6.GetFont().SetColor(gui::clWhite);
  StaticText6.SetCaption(
      "With this installation you install Twinsift and nothing else. We are not putting any crap on your PC, change "
      "no settings, put no DLL's, show no banners and install no spyware.");
}

void TPnlWelcome::SetupButtons(tNvButtonBar& bar) {
  AddExitButton(bar);
  bar.AddButtonRight("&Next", 2, 1, [this] { NextClick(); });
}

void TPnlWelcome::NextClick() { Wizard.Next(); }
