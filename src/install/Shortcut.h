#pragma once
#include <windows.h>
#include <string>

// Saves a shell link (".Lnk") at linkFile that points to target. An icon index of 0 or more takes that
// icon of the target; a negative one leaves the icon unset. Raises gui::Error only when the shell-link
// object cannot be made or lacks its interfaces; a link that cannot be saved is told by the result.
// The calling thread must be in a COM apartment.
HRESULT CreateShortcut(const std::wstring& target, const std::wstring& linkFile, const std::wstring& description,
                       const std::wstring& arguments, int iconIndex);

// The message for a failed creation of a COM object: the system's text, or "OLE error %.8x".
std::string OleErrorText(long result);
