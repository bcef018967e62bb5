// The headless run: starts the setup program, walks through it as a user would and saves a
// screenshot of every step into the folder given as the first argument, printing each path.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "driver/Driver.h"

namespace {

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
  };
  int failures = 0;
  for (const Step& step : steps) {
    step.act(window);
    std::string path = folder + step.name + ".png";
    if (e2e::SaveScreenshot(window, path)) std::printf("%s\n", path.c_str());
    else ++failures;
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  setup.WaitForExit(5000);
  return failures;
}
