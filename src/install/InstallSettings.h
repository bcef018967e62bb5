#pragma once
#include <string>

// What the pages decide and the installation run reads. One object lives for the whole program; the pages
// are given a reference to it.
struct InstallSettings {
  std::string InstallDir;  // empty until the directory page stores it; then ends with a backslash
  bool DesktopShortcut = false;
};
