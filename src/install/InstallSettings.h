#pragma once
#include <string>
#include <vector>

// A folder or link the run could not make, and the system's reason for it.
struct MissingItem {
  std::wstring path;
  std::string reason;
};

// What the pages decide and the installation run reads. One object lives for the whole program; the pages
// are given a reference to it.
struct InstallSettings {
  std::string InstallDir;  // empty until the directory page stores it; then ends with a backslash
  bool DesktopShortcut = false;
  std::vector<MissingItem> Missing;  // stored by the run: what it went on without
};
