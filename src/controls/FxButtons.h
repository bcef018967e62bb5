#pragma once
#include <windows.h>
#include <string>
#include "gui/core/Color.h"

namespace gui {
class Bitmap;
class Canvas;
class Font;
}  // namespace gui

// The button face painter. The button's drawing styles and glyph layouts live here with the painter that
// reads them; FxSpeedButton.h brings them to the button's users.
enum TFxSpeedButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TFxSpeedButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TFxColorStyle {
  fcsCustom, fcsGold, fcsChrome, fcsBlue, fcsRed, fcsUltraFlat1, fcsUltraFlat2,
  fcsUltraFlatXP, fcsAqua, fcsDefault, fcsQuicken
};

// Everything the face painter needs, in the order the button hands it over.
struct TFxButtonFace {
  int W = 0, H = 0;
  TAlignment Alignment = taLeftJustify;
  std::string Caption;
  TFxSpeedButtonLayout Layout = blGlyphLeft;
  const gui::Font* Font = nullptr;
  gui::Color ShadowColor = 0x000000, LightColor = 0xFFFFFF;
  gui::Color HotTrackColor = gui::clNone, ColorWhenDown = gui::clNone;
  gui::Color Color = gui::clBtnFace;
  TFxSpeedButtonStyle Style = bsModern;
  bool HasPopup = false, WordWrap = false, Flat = false, Enabled = true, Transparent = false;
  bool MouseInside = false, Down = false;
  const gui::Bitmap* Glyph = nullptr;
  int NumGlyphs = 0;
  int FadeLevel = 0;
};

// Paints a whole button face from (0, 0) to (W, H): background, edges, caption, glyph and drop-down arrow.
void DrawButtonFace(gui::Canvas& canvas, const TFxButtonFace& face);
// Color mixed with HotTrackColor by fadeLevel / 8, channel by channel, truncated.
COLORREF BlendHotColor(gui::Color color, gui::Color hotTrackColor, int fadeLevel);
// A vertical gradient in 32 bands from color1 at the top to color2 at the bottom.
void DrawGradient(gui::Canvas& canvas, gui::Color color1, gui::Color color2, int left, int top, int right, int bottom);
// One cell of a glyph strip at (x, y), drawn with the strip's bottom-left colour as transparent.
void DrawGlyphCell(gui::Canvas& canvas, const gui::Bitmap& glyph, int x, int y, int cellOffset, int cellWidth,
                   int cellHeight);
