#include "controls/FxButtons.h"
#include <algorithm>
#include "gui/bitmap/Bitmap.h"
#include "gui/core/Canvas.h"
#include "gui/core/Dpi.h"
#include "gui/core/Font.h"

using gui::BrushStyle;
using gui::Canvas;
using gui::Color;
using gui::PenStyle;
using gui::Scale;

namespace {

constexpr Color kShapeBackground = 0xFF00FF;
constexpr Color kDisabledText = 0x808080;

constexpr UINT AlignmentFormat(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return DT_RIGHT | DT_WORDBREAK;
    case taCenter: return DT_CENTER | DT_WORDBREAK;
    default: return DT_LEFT | DT_WORDBREAK;
  }
}

struct FittedCaption {
  std::string text;
  int width = 0, height = 0;  // as measured, TW and TH
};

// Shortens the caption from its end until it fits (unless it may wrap), then measures it.
FittedCaption FitCaption(Canvas& canvas, std::string caption, int limit, bool wordWrap) {
  if (!wordWrap)
    while (!caption.empty() && canvas.TextWidth(caption) > limit) caption.pop_back();
  RECT r{0, 0, limit, 0};
  canvas.DrawText(caption, r, DT_CALCRECT | DT_WORDBREAK);
  return {caption, r.right, r.bottom};
}

void DrawLine(Canvas& canvas, std::initializer_list<POINT> points) {
  auto it = points.begin();
  canvas.MoveTo(it->x, it->y);
  for (++it; it != points.end(); ++it) canvas.LineTo(it->x, it->y);
}

void DrawEdges(Canvas& canvas, const TFxButtonFace& f, bool down, Color faceColor) {
  const int W = f.W, H = f.H;
  switch (f.Style) {
    case bsEncarta:
    case bsOld: {
      bool hot = f.Enabled && (f.MouseInside || down);
      if (f.Flat && !hot) return;
      if (f.Style == bsEncarta) {
        canvas.SetPenColor(down ? f.ShadowColor : f.LightColor);
        DrawLine(canvas, {{0, H - 1}, {0, 0}, {W - 1, 0}});
        canvas.SetPenColor(down ? f.LightColor : f.ShadowColor);
        canvas.LineTo(W - 1, H - 1);
        canvas.LineTo(0, H - 1);
      } else {
        canvas.SetPenColor(f.ShadowColor);
        if (down) DrawLine(canvas, {{1, H - 3}, {1, 1}, {W - 2, 1}});
        else DrawLine(canvas, {{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
        canvas.SetPenColor(down ? gui::cl3DDkShadow : f.LightColor);
        DrawLine(canvas, {{0, H - 1}, {0, 0}, {W - 1, 0}});
        canvas.SetPenColor(down ? f.LightColor : gui::cl3DDkShadow);
        canvas.LineTo(W - 1, H - 1);
        canvas.LineTo(-1, H - 1);
      }
      return;
    }
    case bsModern:
      canvas.SetPenColor(down ? f.ShadowColor : faceColor);
      canvas.Rectangle(1, 1, W - 1, H - 1);
      canvas.SetPenColor(f.ShadowColor);
      canvas.RoundRect(0, 0, W, H, Scale(6), Scale(6));
      return;
    case bsQuicken:
      canvas.SetPenStyle(PenStyle::Clear);
      canvas.SetBrushColor(faceColor);
      canvas.RoundRect(0, 1, W, H, Scale(4), Scale(4));
      canvas.SetBrushStyle(BrushStyle::Clear);
      canvas.SetPenStyle(PenStyle::Solid);
      canvas.SetPenColor(f.ShadowColor);
      DrawLine(canvas, {{Scale(4), 0}, {W - Scale(5), 0}});
      DrawLine(canvas, {{Scale(4), H - 1}, {W - Scale(5), H - 1}});
      return;
    default:
      return;
  }
}

}  // namespace

COLORREF BlendHotColor(Color color, Color hotTrackColor, int fadeLevel) {
  COLORREF from = gui::ColorToRGB(color), to = gui::ColorToRGB(hotTrackColor);
  double f = fadeLevel / 8.0;
  auto mix = [f](BYTE a, BYTE b) { return static_cast<BYTE>(static_cast<int>(a * (1 - f) + b * f)); };
  return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
             mix(GetBValue(from), GetBValue(to)));
}

void DrawGradient(Canvas& canvas, Color color1, Color color2, int left, int top, int right, int bottom) {
  PenStyle savedPen = canvas.GetPenStyle();
  canvas.SetPenStyle(PenStyle::Clear);
  COLORREF c1 = gui::ColorToRGB(color1), c2 = gui::ColorToRGB(color2);
  double r = GetRValue(c1), g = GetGValue(c1), b = GetBValue(c1);
  double dr = (GetRValue(c2) - r) / 31, dg = (GetGValue(c2) - g) / 31, db = (GetBValue(c2) - b) / 31;
  int span = bottom - top;
  int bandHeight = span / 31 + 1;
  for (int i = 0; i <= 31; ++i) {
    int bandTop = top + (i * span) / 31;
    canvas.SetBrushColor(RGB(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)));
    r += dr;
    g += dg;
    b += db;
    canvas.FillRect(RECT{left, bandTop, right, std::min(bandTop + bandHeight, bottom)});
  }
  canvas.SetPenStyle(savedPen);
}

void DrawGlyphCell(Canvas& canvas, const gui::Bitmap& glyph, int x, int y, int cellOffset, int cellWidth,
                   int cellHeight) {
  gui::Bitmap cell;
  try {
    cell = glyph;
  } catch (...) {
    // A copy that fails leaves the cell empty, and nothing is drawn.
  }
  cell.SetSize(cellWidth, cellHeight);
  if (cell.Empty()) return;
  cell.SetTransparent(false);
  BitBlt(cell.DC(), -cellOffset, 0, glyph.Width(), glyph.Height(), glyph.DC(), 0, 0, SRCCOPY);
  cell.SetTransparent(true);
  cell.DrawScaled(canvas, x, y);
}

void DrawButtonFace(Canvas& canvas, const TFxButtonFace& f) {
  const int W = f.W, H = f.H;  // in pixels; the margins below are at 96 dpi and scaled
  const int m2 = Scale(2), m4 = Scale(4), m8 = Scale(8);
  // 1. Preparation: a disabled button is drawn up.
  const bool down = f.Enabled && f.Down;
  const int shift = down && f.Style != bsEncarta ? Scale(1) : 0;
  Color faceColor = gui::ColorToRGB(f.Color);
  if (f.Enabled && f.HotTrackColor != gui::clNone) faceColor = BlendHotColor(f.Color, f.HotTrackColor, f.FadeLevel);
  if (down && f.ColorWhenDown != gui::clNone) faceColor = f.ColorWhenDown;

  // 2. Background.
  if (f.Style == bsShape) {
    canvas.SetBrushColor(kShapeBackground);
    canvas.Rectangle(-1, -1, W + 1, H + 1);
  } else if (!f.Transparent) {
    canvas.SetBrushColor(faceColor);
    if (f.Style == bsEncarta || f.Style == bsOld) {
      canvas.Rectangle(-1, -1, W + 1, H + 1);
    } else if (f.Style == bsModern) {
      DrawGradient(canvas, f.LightColor, faceColor, m2, m2, W - m2, H / 4 + shift);
      DrawGradient(canvas, faceColor, f.LightColor, m2, H / 4 + shift, W - m2, H - 1);
    }
  }
  canvas.SetBrushStyle(BrushStyle::Clear);

  // 3. Edges.
  DrawEdges(canvas, f, down, faceColor);

  // 4. Font.
  if (f.Font) canvas.SetFont(*f.Font);
  if (f.Style == bsEncarta && down) canvas.GetFont().SetBold(true);

  // 5. Glyph cell and text format.
  const gui::Bitmap* glyph = f.Glyph;
  const int GH = glyph ? Scale(glyph->Height()) : 0;
  const int cellWidth = glyph && f.NumGlyphs != 0 ? glyph->Width() / f.NumGlyphs : 0;
  const int GW = Scale(cellWidth);
  int cell = 0;
  if (!f.Enabled) {
    cell = cellWidth;
  } else {
    if (f.MouseInside && f.NumGlyphs > 3) cell = 3 * cellWidth;
    if (down && f.NumGlyphs > 2) cell = 2 * cellWidth;
  }
  const UINT format = AlignmentFormat(f.Alignment);
  auto drawGlyph = [&](int x, int y) {
    if (glyph && GW > 0) DrawGlyphCell(canvas, *glyph, x, y, cell, cellWidth, glyph->Height());
  };

  if (f.Style == bsShape) {
    // 7a. Centred glyph that stays put, caption over it.
    int limit = std::max(W - m8, 0);
    FittedCaption text = FitCaption(canvas, f.Caption, limit, f.WordWrap);
    drawGlyph((W - GW) / 2, (H - GH) / 2);
    RECT r{shift, (H - text.height) / 2 + shift, W, H};
    canvas.DrawText(text.text, r, DT_CENTER | DT_WORDBREAK);
  } else {
    int limit, textLeft, textTop, glyphLeft, glyphTop;
    FittedCaption text;
    if (f.Layout == blGlyphLeft || f.Layout == blGlyphRight) {
      // 7b. Glyph beside the caption.
      limit = std::max(W - m8 - (GW > 0 ? GW + m4 : 0), 0);
      text = FitCaption(canvas, f.Caption, limit, f.WordWrap);
      textTop = (H - text.height) / 2 + shift;
      textLeft = shift + m4;
      glyphTop = (H - GH) / 2 + shift;
      const int gap = text.text.empty() ? 0 : text.width + m4;
      if (f.Layout == blGlyphLeft) {
        if (GW > 0) textLeft += GW + m4;
        glyphLeft = shift + m4;
        if (!f.WordWrap) {
          if (f.Alignment == taRightJustify) glyphLeft = W - m4 - GW - gap + shift;
          else if (f.Alignment == taCenter) glyphLeft = (W - GW) / 2 + shift - gap / 2;
        }
      } else {
        glyphLeft = textLeft + gap;
        if (!f.WordWrap) {
          if (f.Alignment == taRightJustify) glyphLeft = W - m4 + shift - GW;
          else if (f.Alignment == taCenter) glyphLeft = (W - GW) / 2 + shift + gap / 2;
        }
      }
    } else {
      // 7c. Glyph above or below the caption.
      limit = std::max(W - m8, 0);
      text = FitCaption(canvas, f.Caption, limit, f.WordWrap);
      const int block = text.height + (GH > 0 ? GH + m4 : 0);
      textLeft = shift + m4;
      if (f.Layout == blGlyphTop) {
        textTop = (H - block) / 2 + GH + shift;
        glyphTop = (H - block) / 2 + shift;
      } else {
        textTop = (H - block) / 2 + shift;
        glyphTop = (H - block) / 2 + text.height + shift;
      }
      glyphLeft = f.Alignment == taRightJustify ? W - GW - m4 + shift
                  : f.Alignment == taCenter     ? (W - GW) / 2 + shift
                                                : shift + m4;
    }
    // 7d. Caption first, glyph over it.
    if (!f.Enabled) canvas.GetFont().SetColor(kDisabledText);
    RECT r{textLeft, textTop, textLeft + limit, textTop + text.height};
    canvas.DrawText(text.text, r, format);
    drawGlyph(glyphLeft, glyphTop);
  }

  // 8. Drop-down arrow.
  if (f.HasPopup) {
    gui::Bitmap arrow;
    arrow.LoadFromResource("FXARROW");
    arrow.SetTransparent(true);
    arrow.DrawScaled(canvas, W - Scale(11), H / 2 - Scale(1));
  }
}
