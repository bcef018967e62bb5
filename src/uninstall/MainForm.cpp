#include "uninstall/MainForm.h"

TForm1::TForm1() {
  SetName("Form1");
  SetCaption("Swiftclear");
  SetColor(gui::clWhite);
  SetClientSize(352, 118);
}
