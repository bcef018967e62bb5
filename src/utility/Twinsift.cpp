// The utility's entry point. For now it opens its main window; closing it ends the program.
#include <windows.h>
#include "gui/core/Application.h"
#include "gui/form/Form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  gui::Application application;
  application.SetTitle("Twinsift");
  try {
    gui::Form form;
    form.SetName("FormTwinsift");
    form.SetCaption("Twinsift");
    form.SetClientSize(480, 320);
    // Opens as its starter asks: the setup's "Run" button asks for it maximised.
    form.OnShow = [&form, showCommand] { ShowWindow(form.Handle(), showCommand); };
    application.Run(form);
  } catch (...) {
    application.HandleException();
    return 1;
  }
  return 0;
}
