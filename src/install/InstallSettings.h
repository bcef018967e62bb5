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
  // UTF-8, as every text the gui layer holds; empty until the directory page stores it; then ends with a
  // backslash.
  std::string InstallDir;
  bool DesktopShortcut = false;
  std::vector<MissingItem> Missing;  // stored by the run: what it went on without
};
