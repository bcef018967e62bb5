// The utility's entry point: its one window, maximised when it is started so.
#include <windows.h>
#include "Form_Twinsift.h"
#include "gui/core/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  gui::Application application;
  application.SetTitle("Twinsift");
  try {
    TFormTwinsift form;
    form.SetStartMaximized(showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MAXIMIZE);
    application.Run(form);
  } catch (...) {
    application.HandleException();
    return 1;
  }
  return 0;
}
