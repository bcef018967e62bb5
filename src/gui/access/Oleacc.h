#pragma once
#include <windows.h>
#include <oleacc.h>
#include "win32/ComRef.h"

namespace gui::access {

// The accessibility library and the automation library's strings, loaded from the system folder the first
// time a screen reader asks for an object: most runs never meet one, and the program starts without them.
class Oleacc {
 public:
  static Oleacc& Instance();
  bool Loaded() const { return lresultFromObject_ != nullptr; }

  LRESULT LresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) const;
  // The system's own client object of window (its parent and navigation); empty when not available.
  win32::ComRef<IAccessible> StandardClient(HWND window) const;
  // The client object of a child window, as a screen reader would get it; empty when not available.
  win32::ComRef<IDispatch> ClientOf(HWND window) const;
  // A BSTR of length characters, not yet written; nullptr when it cannot be had.
  BSTR AllocateString(UINT length) const;

 private:
  Oleacc();
  using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using AccessibleObjectFromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  LresultFromObjectFn lresultFromObject_ = nullptr;
  CreateStdAccessibleObjectFn createStdAccessibleObject_ = nullptr;
  AccessibleObjectFromWindowFn accessibleObjectFromWindow_ = nullptr;
  using SysAllocStringLenFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
  SysAllocStringLenFn sysAllocStringLen_ = nullptr;
};

}  // namespace gui::access
