#pragma once
#include <string>

// The installation settings, set by the pages and read by the installation run.
extern std::string InstallDir;   // empty until the directory page stores it; then ends with a backslash
extern bool DesktopShortcut;

// Creates the six pages in their order and hosts each on the main window at once.
void CreatePanels();
