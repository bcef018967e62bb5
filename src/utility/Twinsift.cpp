// The utility's entry point. For now it opens its main window; closing it ends the program.
#include <windows.h>
#include "gui/core/Application.h"
#include "gui/form/Form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::Application application;
  application.SetTitle("Twinsift");
  try {
    gui::Form form;
    form.SetName("FormTwinsift");
    form.SetCaption("Twinsift");
    form.SetClientSize(480, 320);
    application.Run(form);
  } catch (...) {
    application.HandleException();
    return 1;
  }
  return 0;
}
