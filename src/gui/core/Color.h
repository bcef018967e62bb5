#pragma once
#include <windows.h>
#include <cstdint>

namespace gui {

// 0x00BBGGRR; a top byte of 0xFF names a system colour by the index in the low byte.
using Color = std::uint32_t;

inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clBlack = 0x000000;
inline constexpr Color clWhite = 0xFFFFFF;
inline constexpr Color clBtnFace = 0xFF000000 | COLOR_BTNFACE;
inline constexpr Color clWindow = 0xFF000000 | COLOR_WINDOW;
inline constexpr Color clWindowText = 0xFF000000 | COLOR_WINDOWTEXT;
inline constexpr Color cl3DDkShadow = 0xFF000000 | COLOR_3DDKSHADOW;
inline constexpr Color clSkyBlue = 0xF0CAA6;
inline constexpr Color clCream = 0xF0FBFF;

inline bool IsSystemColor(Color c) { return (c >> 24) == 0xFF; }

// The plain RGB value, system colours looked up in their current setting.
inline COLORREF ColorToRGB(Color c) {
  if (IsSystemColor(c)) return GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0x00FFFFFF;
}

}  // namespace gui
