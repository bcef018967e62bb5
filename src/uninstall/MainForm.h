#pragma once
#include "gui/form/Form.h"

// The remover's window. For now only the window itself; closing it ends the program.
class TForm1 : public gui::Form {
 public:
  TForm1();
};
