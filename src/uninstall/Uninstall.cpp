// The uninstaller's entry point.
#include <windows.h>
#include "gui/core/Application.h"
#include "uninstall/FRM_Uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::Application application;
  application.SetTitle("Uninstall");
  try {
    TFrmUninstall form;
    application.Run(form);
  } catch (...) {
    application.HandleException();
    return 1;
  }
  return 0;
}
