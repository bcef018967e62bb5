// The remover's entry point.
#include <windows.h>
#include "gui/core/Application.h"
#include "uninstall/MainForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::Application application;
  application.SetTitle("Swiftclear");
  try {
    TForm1 form;
    application.Run(form);
  } catch (...) {
    application.HandleException();
    return 1;
  }
  return 0;
}
