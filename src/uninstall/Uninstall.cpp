// The uninstaller's entry point. Without a readable record it ends at once, quietly.
#include <windows.h>
#include "gui/core/Application.h"
#include "uninstall/FRM_Uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::Application application;
  application.SetTitle("Uninstall");
  RemoverStart remover;
  try {
    TFrmUninstall form;
    application.Run(form);
    remover = form.TakeRemover();
  } catch (const RecordUnreadable&) {
    return 0;
  } catch (...) {
    application.HandleException();
    return 1;
  }
  // The remover starts once this program's window is gone.
  remover.Start();
  return 0;
}
