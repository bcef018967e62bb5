#include "gui/access/Oleacc.h"

namespace gui::access {

namespace {
template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
}  // namespace

Oleacc::Oleacc() {
  HMODULE module = LoadLibraryExA("oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  lresultFromObject_ = Lookup<LresultFromObjectFn>(module, "LresultFromObject");
  createStdAccessibleObject_ = Lookup<CreateStdAccessibleObjectFn>(module, "CreateStdAccessibleObject");
  accessibleObjectFromWindow_ = Lookup<AccessibleObjectFromWindowFn>(module, "AccessibleObjectFromWindow");
  HMODULE automation = LoadLibraryExA("oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  sysAllocStringLen_ = Lookup<SysAllocStringLenFn>(automation, "SysAllocStringLen");
}

Oleacc& Oleacc::Instance() {
  static Oleacc library;
  return library;
}

LRESULT Oleacc::LresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) const {
  return lresultFromObject_ ? lresultFromObject_(riid, wParam, object) : 0;
}

BSTR Oleacc::AllocateString(UINT length) const {
  return sysAllocStringLen_ ? sysAllocStringLen_(nullptr, length) : nullptr;
}

win32::ComRef<IAccessible> Oleacc::StandardClient(HWND window) const {
  win32::ComRef<IAccessible> object;
  if (createStdAccessibleObject_ &&
      FAILED(createStdAccessibleObject_(window, OBJID_CLIENT, __uuidof(IAccessible), object.out())))
    object.detach();  // a failed call promises nothing of what it left there
  return object;
}

win32::ComRef<IDispatch> Oleacc::ClientOf(HWND window) const {
  win32::ComRef<IDispatch> object;
  if (accessibleObjectFromWindow_ &&
      FAILED(accessibleObjectFromWindow_(window, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch, object.out())))
    object.detach();
  return object;
}

}  // namespace gui::access
