#include "pages/PNL_Disclaimer.h"
#include "shell/NVI_ButtonBar.h"
#include "gui/core/Error.h"

const char* const TPnlDisclaimer::kStatement =
    "Twinsift is provided by Norveth Software as it is, without any warranty of any kind, express or implied, "
    "including but not limited to the warranties of merchantability and fitness for a particular purpose."
    "\r\r"
    "Twinsift searches for files with the same content and can remove the copies you select. Removed files cannot "
    "be brought back by Twinsift. Check what you select before you remove it, and keep backups of the files that "
    "matter to you."
    "\r\r"
    "In no event shall Norveth Software be liable for any loss of data, loss of profit or any other damage that "
    "arises from the use of Twinsift or from being unable to use it."
    "\r\r"
    "You may use Twinsift on any number of computers and give copies of this setup program to others, as long as "
    "you do not change it and do not ask money for it.";

const char* const TPnlDisclaimer::kRefusal =
    "You can only install Twinsift in case you agree to this statement.\r"
    "Check the checkbox to confirm.\r"
    "Otherwise please press Exit";

TPnlDisclaimer::TPnlDisclaimer(Navigation& navigation)
    : TFramePanel(navigation),
      Image3(Add<gui::Picture>()),
      txtDisclaimer(Add<gui::StaticText>()),
      CheckBox1(Add<gui::CheckBox>()) {
  PanelCaption = "Disclaimer";
  Image3.SetBounds(379, 14, 320, 290);
  Image3.SetStretch(true);
  Image3.LoadJpegResource("TERMS_JPG");
  txtDisclaimer.SetBounds(4, 14, 374, 290);
  txtDisclaimer.SetParentColor(false);
  txtDisclaimer.SetColor(gui::clWhite);
  txtDisclaimer.SetTabOrder(0);
  CheckBox1.SetBounds(24, 328, 601, 25);
  CheckBox1.GetFont().SetHeight(-21);
  CheckBox1.SetTabOrder(1);
  CheckBox1.SetCaption("&I have read the statement above and I fully agree with this statement.");
}

void TPnlDisclaimer::SetupButtons(tNvButtonBar& bar) {
  AddExitButton(bar);
  bar.AddButtonRight("&Next", 2, 1, [this] { NextClick(); });
  bar.AddButtonRight("&Previous", 3, 1, [this] { PreviousClick(); });
}

void TPnlDisclaimer::PanelEnter() {
  txtDisclaimer.SetCaption(kStatement);
  CheckBox1.SetChecked(false);
}

void TPnlDisclaimer::NextClick() {
  if (!CheckBox1.Checked()) throw gui::Error(kRefusal);
  Wizard.Next();
}

void TPnlDisclaimer::PreviousClick() { Wizard.Previous(); }
