#include "gui/core/Dpi.h"

namespace gui {

namespace {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int& Current() {
  static int dpi = ScreenDpi();
  return dpi;
}

}  // namespace

int CurrentDpi() { return Current(); }

void SetCurrentDpi(int dpi) {
  if (dpi > 0) Current() = dpi;
}

int DpiOfWindow(HWND window) {
  // Looked up at run time: older systems have no such call.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static auto call = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  UINT dpi = call && window ? call(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

}  // namespace gui
