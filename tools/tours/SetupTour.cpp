// The headless run: starts the setup program, walks through it as a user would and saves a
// screenshot of every step into the folder given as the first argument, printing each path.
#include <shlobj.h>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "driver/Driver.h"
#include "driver/SetupWindow.h"
#include "e2e/UninstallTour.h"
#include "e2e/InstalledFiles.h"

namespace {

struct Step {
  const char* name;
  std::function<void(HWND window)> act;  // what the user does before the screenshot
};

}  // namespace

int main(int argc, char** argv) {
  SetProcessDPIAware();  // the programs draw at the screen's density: coordinates in its pixels too
  std::string folder = argc > 1 ? argv[1] : "screenshots";
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  CreateDirectoryA(folder.c_str(), nullptr);

  e2e::Process setup = e2e::Process::Start(e2e::ProgramFolder() + "Install_Twinsift.exe");
  const e2e::SetupWindow wizard = e2e::SetupWindow::Find(setup.Id());
  HWND window = wizard.Handle();
  if (!window) {
    std::fprintf(stderr, "tour: the setup window did not appear\n");
    return 1;
  }
  // Presses a bar button and waits until the next page is in view and the change to it is over.
  auto pressAndWait = [&](const char* caption, const char* nextHeader) {
    wizard.Click(caption);
    wizard.WaitForPage(nextHeader);
  };
  const std::vector<Step> steps = {
      {"01-fading-in", [](HWND) { Sleep(1200); }},
      {"02-welcome", [&](HWND w) { e2e::WaitFor([&] { return e2e::LayeredAlpha(w).value_or(255) == 255; }, 6000); }},
      {"03-terms", [&](HWND) { pressAndWait("&Next", "Disclaimer"); }},
      {"04-terms-refused", [&](HWND) {
         wizard.Click("&Next");
         e2e::WaitForMessageBox(setup.Id());
         Sleep(200);
       }},
      {"05-terms-agreed", [&](HWND) {
         e2e::AnswerBox(setup.Id());
         e2e::Click(wizard.PageControl("Button"), 8, 12);
         Sleep(200);
       }},
      {"06-directory", [&](HWND) { pressAndWait("&Next", "Choose installation directory"); }},
      {"07-ready", [&](HWND) { pressAndWait("&Next", "Ready to install"); }},
      {"08-installing", [&](HWND) {
         wizard.Click("&Install Now");
         e2e::WaitFor([&] {
           HWND bar = wizard.PageControl("msctls_progress32");
           return bar && e2e::ProgressPosition(bar) > e2e::ProgressMax(bar) / 4;
         }, 20000, 1);
       }},
      {"09-completed", [&](HWND) { wizard.WaitForPage("Installation completed", 30000); }},
  };
  int failures = 0;
  for (const Step& step : steps) {
    step.act(window);
    std::string path = folder + step.name + ".png";
    // A message box stands apart from the window: take the whole screen then.
    HWND shot = e2e::FindMessageBox(setup.Id()) ? nullptr : window;
    if (e2e::SaveScreenshot(shot, path)) std::printf("%s\n", path.c_str());
    else ++failures;
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  setup.WaitForExit(5000);

  // What the installation made; then the user's way out again: the uninstaller from the program menu's
  // link, and what is left afterwards.
  const e2e::Installation made{"C:\\Program Files\\Twinsift\\"};
  std::printf("\nThe installation made:\n%s\n", made.Listing().c_str());
  if (!WalkUninstall(made.File("Uninstall.Exe"), folder, static_cast<int>(steps.size()) + 1)) {
    std::fprintf(stderr, "tour: the uninstall did not run to its end\n");
    ++failures;
  }
  std::printf("\nAfter the uninstall:\n%s", made.Listing().c_str());
  made.Remove();  // whatever the uninstall may have left, so that the prefix stays as the tests expect it
  return failures;
}
