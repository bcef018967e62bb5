#pragma once
#include <string>

// A folder that only administrators can change: Administrators and SYSTEM have full control, Users read
// and execute, and nothing comes from the parent. Whoever could replace a program in it could make an
// administrator run their code, so the setup program makes its installation folder so, and the
// uninstaller the remover's.

// Creates the folder with that access list. False when it cannot be made (it exists, say): a folder
// that is already there keeps the list it has.
bool CreateProtectedDirectory(const std::wstring& path);
