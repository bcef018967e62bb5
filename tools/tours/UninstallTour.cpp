// Makes an installation, walks its uninstall with screenshots into the folder given as the first
// argument, and reports whatever the uninstall left behind.
#include <cstdio>
#include <string>
#include "driver/FileTree.h"
#include "e2e/UninstallTour.h"
#include "uninstall/Installation.h"

using namespace uninstall_test;

int main(int argc, char** argv) {
  SetProcessDPIAware();  // the programs draw at the screen's density: coordinates in its pixels too
  std::string folder = argc > 1 ? argv[1] : "screenshots";
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  CreateDirectoryA(folder.c_str(), nullptr);
  ShellFolders shell = ShellFolders::Query();
  RemoveTree(kRoot);
  e2e::FileTree menuBefore = e2e::SnapshotTree(shell.programMenu);
  e2e::FileTree desktopBefore = e2e::SnapshotTree(shell.desktop, 1);
  MakeInstallation(true);
  e2e::FileTree rootBefore = e2e::SnapshotTree(kRoot);
  if (!WalkUninstall(std::string(kInstallDir) + "Uninstall.Exe", folder, 1)) return 1;
  int left = 0;
  auto report = [&](const char* where, const e2e::FileTree& before, const e2e::FileTree& after) {
    for (const std::string& line : e2e::TreeDifferences(before, after)) {
      std::printf("left in %s: %s\n", where, line.c_str());
      if (line[0] != '-') ++left;
    }
  };
  report("the program menu", menuBefore, e2e::SnapshotTree(shell.programMenu));
  report("the desktop", desktopBefore, e2e::SnapshotTree(shell.desktop, 1));
  e2e::FileTree rootAfter = e2e::SnapshotTree(kRoot);
  std::printf("the installation folder: %zu entries before, %zu after\n", rootBefore.size(), rootAfter.size());
  left += static_cast<int>(rootAfter.size());
  RemoveTree(kRoot);
  std::printf(left == 0 ? "nothing is left\n" : "%d entries are left\n", left);
  return left == 0 ? 0 : 1;
}
