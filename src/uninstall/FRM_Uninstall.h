#pragma once
#include "gui/form/Form.h"

// The uninstaller's window. For now only the window itself; closing it ends the program.
class TFrmUninstall : public gui::Form {
 public:
  TFrmUninstall();
};
