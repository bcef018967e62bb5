// The setup wizard's entry point, where its parts are put together.
#include <windows.h>
#include <memory>
#include "SetupPages.h"
#include "gui/core/Application.h"
#include "install/InstallSettings.h"
#include "shell/Form_Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::Application application;
  application.SetTitle("Twinsift");
  InstallSettings settings;
  std::unique_ptr<TFormMain> form;
  try {
    form = std::make_unique<TFormMain>(SetupPages(settings));
  } catch (...) {
    application.HandleException();
    return 1;
  }
  application.Run(*form);
  form.reset();
  return 0;
}
