#pragma once
#include <windows.h>
#include <string>
#include "gui/core/Color.h"
#include "gui/core/Font.h"
#include "gui/core/Gdi.h"

namespace gui {

enum class PenStyle { Solid, Clear };
enum class BrushStyle { Solid, Clear };

// Drawing on a device context with a current pen, brush and font, as GDI draws:
// lines include their start pixel and exclude their end pixel; rectangles and fills exclude their
// right and bottom edges. The DC is borrowed; the canvas puts its original objects back when it goes.
class Canvas {
 public:
  explicit Canvas(HDC dc);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC Handle() const { return dc_; }

  Color PenColor() const { return penColor_; }
  PenStyle GetPenStyle() const { return penStyle_; }
  void SetPenColor(Color color);
  void SetPenStyle(PenStyle style);
  Color BrushColor() const { return brushColor_; }
  BrushStyle GetBrushStyle() const { return brushStyle_; }
  void SetBrushColor(Color color);  // also makes the brush solid
  void SetBrushStyle(BrushStyle style);
  Font& GetFont() { return font_; }
  void SetFont(const Font& font) { font_ = font; }

  void Rectangle(int left, int top, int right, int bottom);
  void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void FillRect(const RECT& rect);  // in the brush, without outline

  int TextWidth(const std::string& text);
  // DrawText with the given DT_ flags; with DT_CALCRECT only measures and widens/heightens rect.
  int DrawText(const std::string& text, RECT& rect, UINT format);

  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  void UsePen();
  void UseBrush();
  void PrepareText();

  HDC dc_;
  HGDIOBJ originalPen_, originalBrush_, originalFont_;
  Color penColor_ = clBlack;
  PenStyle penStyle_ = PenStyle::Solid;
  Color brushColor_ = clWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  Font font_;
  OwnedPen pen_;
  OwnedBrush brush_;
};

}  // namespace gui
