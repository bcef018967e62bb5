#include "gui/folderdialog/FolderDialog.h"
#include <objbase.h>
#include <shlobj.h>
#include "win32/TextCodes.h"

namespace gui {

std::string PickFolder(HWND owner, const std::string& title) {
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  bool ok = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  if (!ok) return {};
  return win32::Utf8FromWide(path);
}

}  // namespace gui
