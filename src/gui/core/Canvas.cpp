#include "gui/core/Canvas.h"
#include "win32/TextCodes.h"

namespace gui {

Canvas::Canvas(HDC dc)
    : dc_(dc),
      originalPen_(GetCurrentObject(dc, OBJ_PEN)),
      originalBrush_(GetCurrentObject(dc, OBJ_BRUSH)),
      originalFont_(GetCurrentObject(dc, OBJ_FONT)) {
  UsePen();
  UseBrush();
}

Canvas::~Canvas() {
  // Our objects must be out of the DC before their owners delete them.
  SelectObject(dc_, originalPen_);
  SelectObject(dc_, originalBrush_);
  SelectObject(dc_, originalFont_);
}

void Canvas::SetPenColor(Color color) {
  penColor_ = color;
  UsePen();
}

void Canvas::SetPenStyle(PenStyle style) {
  penStyle_ = style;
  UsePen();
}

void Canvas::SetBrushColor(Color color) {
  brushColor_ = color;
  brushStyle_ = BrushStyle::Solid;
  UseBrush();
}

void Canvas::SetBrushStyle(BrushStyle style) {
  brushStyle_ = style;
  UseBrush();
}

void Canvas::UsePen() {
  OwnedPen pen(penStyle_ == PenStyle::Clear ? CreatePen(PS_NULL, 0, 0)
                                            : CreatePen(PS_SOLID, 1, ColorToRGB(penColor_)));
  SelectObject(dc_, pen.get());
  pen_ = std::move(pen);
}

void Canvas::UseBrush() {
  OwnedBrush brush;
  if (brushStyle_ == BrushStyle::Clear) {
    LOGBRUSH hollow{BS_HOLLOW, 0, 0};
    brush.reset(CreateBrushIndirect(&hollow));
  } else {
    brush.reset(CreateSolidBrush(ColorToRGB(brushColor_)));
  }
  SelectObject(dc_, brush.get());
  brush_ = std::move(brush);
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
  ::Rectangle(dc_, left, top, right, bottom);
}

void Canvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  ::RoundRect(dc_, left, top, right, bottom, ellipseWidth, ellipseHeight);
}

void Canvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }
void Canvas::LineTo(int x, int y) { ::LineTo(dc_, x, y); }

void Canvas::FillRect(const RECT& rect) {
  if (brushStyle_ == BrushStyle::Clear) return;
  ::FillRect(dc_, &rect, brush_.get());
}

void Canvas::PrepareText() {
  SelectObject(dc_, font_.Handle());
  SetTextColor(dc_, ColorToRGB(font_.GetColor()));
  if (brushStyle_ == BrushStyle::Clear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ColorToRGB(brushColor_));
  }
}

int Canvas::TextWidth(const std::string& text) {
  PrepareText();
  SIZE size{};
  const std::wstring wide = win32::WideFromUtf8(text);
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

int Canvas::DrawText(const std::string& text, RECT& rect, UINT format) {
  PrepareText();
  std::wstring wide = win32::WideFromUtf8(text);
  return ::DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &rect, format);
}

}  // namespace gui
