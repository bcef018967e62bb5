#include "install/Shortcut.h"
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include "win32/ComRef.h"
#include "win32/Error.h"

using win32::ComRef;

std::string OleErrorText(long result) {
  std::string text = win32::SystemMessage(static_cast<DWORD>(result));
  if (!text.empty()) return text;
  // "OLE error" and the code as eight hex digits, formatted by hand: printf would bring its whole engine.
  std::string code = "OLE error ";
  const auto value = static_cast<unsigned long>(result);
  for (int shift = 28; shift >= 0; shift -= 4) code += "0123456789abcdef"[(value >> shift) & 0xF];
  return code;
}

HRESULT CreateShortcut(const std::wstring& target, const std::wstring& linkFile, const std::wstring& description,
                       const std::wstring& arguments, int iconIndex) {
  ComRef<IUnknown> object;
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     IID_IUnknown, object.out());
  if (FAILED(created)) throw win32::Error(OleErrorText(created));
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> file;
  if (FAILED(object->QueryInterface(IID_IShellLinkW, link.out())) || !link.get() ||
      FAILED(object->QueryInterface(IID_IPersistFile, file.out())) || !file.get())
    throw win32::Error("Interface not supported");
  // std::wstring::c_str() of an empty string is a pointer to a zero, never null.
  link->SetArguments(arguments.c_str());
  link->SetDescription(description.c_str());
  link->SetPath(target.c_str());
  if (iconIndex >= 0) link->SetIconLocation(target.c_str(), iconIndex);
  return file->Save(linkFile.c_str(), FALSE);
}
