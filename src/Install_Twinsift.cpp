// The setup wizard's entry point.
#include <windows.h>
#include <memory>
#include "gui/core/Application.h"
#include "shell/Form_Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::Application application;
  application.SetTitle("Twinsift");
  std::unique_ptr<TFormMain> form;
  try {
    form = std::make_unique<TFormMain>();
  } catch (...) {
    application.HandleException();
    return 1;
  }
  application.Run(*form);
  form.reset();
  return 0;
}
