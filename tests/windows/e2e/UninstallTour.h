#pragma once
#include <string>

// The headless tour's uninstall: starts the uninstaller at uninstallerPath, presses "&OK", answers
// "Yes", follows the remover to its finish and presses its "OK", saving a screenshot of every step into
// folder (ending with a backslash) as firstNumber-uninstall-..., firstNumber+1-..., and printing each
// path. Returns false when a window did not come.
bool WalkUninstall(const std::string& uninstallerPath, const std::string& folder, int firstNumber);
