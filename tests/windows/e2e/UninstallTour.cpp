#include "e2e/UninstallTour.h"

#include <cstdio>
#include "driver/Driver.h"

namespace {

class Shots {
 public:
  Shots(const std::string& folder, int number) : folder_(folder), number_(number) {}
  void Take(HWND window, const char* name) {
    char prefix[16];
    std::snprintf(prefix, sizeof(prefix), "%02d-", number_++);
    std::string path = folder_ + prefix + name + ".png";
    if (e2e::SaveScreenshot(window, path)) std::printf("%s\n", path.c_str());
    std::fflush(stdout);
  }

 private:
  std::string folder_;
  int number_;
};

}  // namespace

bool WalkUninstall(const std::string& uninstallerPath, const std::string& folder, int firstNumber) {
  Shots shots(folder, firstNumber);
  e2e::Process uninstaller = e2e::Process::Start(uninstallerPath);
  HWND window = nullptr;
  e2e::WaitFor([&] { return (window = e2e::VisibleWindowTitled("Uninstall ")) != nullptr; }, 10000);
  if (!window) {
    std::fprintf(stderr, "tour: the uninstaller's window did not appear\n");
    return false;
  }
  Sleep(300);
  shots.Take(window, "uninstall-window");
  e2e::Click(e2e::ButtonWithText(window, "&OK"), 30, 12);
  auto box = e2e::WaitForMessageBox(uninstaller.Id());
  if (!box) return false;
  Sleep(200);
  shots.Take(nullptr, "uninstall-confirm");
  e2e::AnswerMessageBox(box->window, IDYES);
  uninstaller.WaitForExit(10000);

  HWND remover = nullptr;
  e2e::WaitFor([&] { return (remover = e2e::VisibleWindowTitled("Swiftclear")) != nullptr; }, 10000);
  if (!remover) {
    std::fprintf(stderr, "tour: the remover's window did not appear\n");
    return false;
  }
  Sleep(3000);
  shots.Take(remover, "remover-waiting");
  if (!e2e::WaitFor([&] { return e2e::TitleOf(remover).rfind("Finished", 0) == 0; }, 30000, 100)) return false;
  Sleep(300);
  shots.Take(remover, "remover-finished");
  e2e::Click(e2e::ButtonWithText(remover, "OK"), 30, 12);
  return e2e::WaitFor([&] { return !IsWindow(remover); }, 5000);
}
