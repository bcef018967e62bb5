#pragma once
#include <windows.h>

namespace gui {

// The layout is given at 96 pixels per inch; on a denser screen every length is drawn larger by dpi / 96.
constexpr int kDesignDpi = 96;

// The pixel density the windows are drawn at now; the screen's until a window tells its own.
int CurrentDpi();
void SetCurrentDpi(int dpi);
// The window's density (GetDpiForWindow where the system has it), else the screen's.
int DpiOfWindow(HWND window);

// A 96-dpi length in pixels now, and back; the one rounding rule of the layout.
inline int Scale(int length) { return MulDiv(length, CurrentDpi(), kDesignDpi); }
inline int Unscale(int pixels) { return MulDiv(pixels, kDesignDpi, CurrentDpi()); }
// Back to 96 dpi rounded up: a measured extent that still fits once scaled again.
inline int UnscaleUp(int pixels) { return (pixels * kDesignDpi + CurrentDpi() - 1) / CurrentDpi(); }
inline RECT Scale(const RECT& r) { return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)}; }

}  // namespace gui
