#include "gui/folderdialog/FolderDialog.h"
#include <objbase.h>
#include <shlobj.h>
#include "win32/TextCodes.h"

namespace gui {

std::string PickFolder(HWND owner, const std::string& title) {
  const std::wstring wideTitle = win32::WideFromUtf8(title);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  bool ok = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  if (!ok) return {};
  return win32::Utf8FromWide(path);
}

}  // namespace gui
