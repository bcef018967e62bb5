#pragma once
#include <windows.h>
#include <string>

namespace gui {

// The shell's folder picker. Returns the chosen folder as UTF-8, or "" when the user cancels.
std::string PickFolder(HWND owner, const std::string& title);

}  // namespace gui
