// The headless run: starts the setup program, walks through it as a user would and saves a
// screenshot of every step into the folder given as the first argument, printing each path.
#include <shlobj.h>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "driver/Driver.h"
#include "e2e/UninstallTour.h"
#include "e2e/InstalledFiles.h"

namespace {


HWND VisibleOfClass(HWND window, const char* className) {
  for (HWND child : e2e::ChildWindows(window))
    if (IsWindowVisible(child) && e2e::ClassName(child) == className) return child;
  return nullptr;
}

// Waits until the header reads the page's title and the change to it is over (the run returned, too).
void WaitForPage(HWND window, const char* header, DWORD timeoutMs) {
  e2e::WaitFor([&] {
    return e2e::WindowText(e2e::VisibleChildAt(window, 40, 31)) == header && !e2e::SetupBusy(window);
  }, timeoutMs);
}

// Clicks a bar button and waits until the header reads the next page's title and the slide is over.
void ClickBarAndWait(HWND window, int x, const char* header) {
  e2e::Click(e2e::VisibleChildAt(window, 40, 451), x, 15);
  WaitForPage(window, header, 8000);
}

struct Step {
  const char* name;
  std::function<void(HWND window)> act;  // what the user does before the screenshot
};

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : "screenshots";
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  CreateDirectoryA(folder.c_str(), nullptr);

  e2e::Process setup = e2e::Process::Start(e2e::ProgramFolder() + "Install_Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(setup.Id(), "Install Twinsift 1.2");
  if (!window) {
    std::fprintf(stderr, "tour: the setup window did not appear\n");
    return 1;
  }
  const std::vector<Step> steps = {
      {"01-fading-in", [](HWND) { Sleep(1200); }},
      {"02-welcome", [&](HWND w) { e2e::WaitFor([&] { return e2e::LayeredAlpha(w).value_or(255) == 255; }, 6000); }},
      {"03-terms", [](HWND w) { ClickBarAndWait(w, 660, "Disclaimer"); }},
      {"04-terms-refused", [&](HWND w) {
         e2e::Click(e2e::VisibleChildAt(w, 40, 451), 660, 15);
         e2e::WaitForMessageBox(setup.Id());
         Sleep(200);
       }},
      {"05-terms-agreed", [&](HWND w) {
         if (auto box = e2e::FindMessageBox(setup.Id())) e2e::AnswerMessageBox(box->window);
         e2e::WaitFor([&] { return !e2e::FindMessageBox(setup.Id()); });
         e2e::Click(VisibleOfClass(w, "Button"), 8, 12);
         Sleep(200);
       }},
      {"06-directory", [](HWND w) { ClickBarAndWait(w, 660, "Choose installation directory"); }},
      {"07-ready", [](HWND w) { ClickBarAndWait(w, 660, "Ready to install"); }},
      {"08-installing", [](HWND w) {
         e2e::Click(e2e::VisibleChildAt(w, 40, 451), 648, 15);  // "&Install Now"
         e2e::WaitFor([&] {
           HWND bar = VisibleOfClass(w, "msctls_progress32");
           return bar && e2e::ProgressPosition(bar) > e2e::ProgressMax(bar) / 4;
         }, 20000, 1);
       }},
      {"09-completed", [](HWND w) {
         WaitForPage(w, "Installation completed", 30000);
       }},
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
