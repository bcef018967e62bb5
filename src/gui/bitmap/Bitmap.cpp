#include "gui/bitmap/Bitmap.h"
#include "gui/core/Dpi.h"
#include "gui/core/Canvas.h"
#include "gui/core/Error.h"

namespace gui {

Bitmap::Bitmap() : originalBitmap_(GetCurrentObject(dc_.get(), OBJ_BITMAP)) {}

Bitmap::Bitmap(int width, int height) : Bitmap() { Allocate(width, height); }

Bitmap::~Bitmap() {
  canvas_.reset();
  SelectObject(dc_.get(), originalBitmap_);
}

Bitmap::Bitmap(const Bitmap& other) : Bitmap() { *this = other; }

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this == &other) return *this;
  Allocate(other.width_, other.height_);
  if (!Empty()) BitBlt(dc_.get(), 0, 0, width_, height_, other.dc_.get(), 0, 0, SRCCOPY);
  transparent_ = other.transparent_;
  return *this;
}

void Bitmap::Allocate(int width, int height) {
  SelectObject(dc_.get(), originalBitmap_);
  bitmap_.reset();
  bits_ = nullptr;
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  if (Empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) throw Error("Out of system resources");
  bits_ = static_cast<std::uint32_t*>(bits);
  SelectObject(dc_.get(), bitmap_.get());
}

void Bitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Bitmap old(*this);
  Allocate(width, height);
  if (!Empty() && !old.Empty()) BitBlt(dc_.get(), 0, 0, width_, height_, old.dc_.get(), 0, 0, SRCCOPY);
}

Color Bitmap::TransparentColor() const { return Empty() ? clNone : Pixel(0, height_ - 1); }

COLORREF Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  std::uint32_t v = bits_[y * width_ + x];  // 0x00RRGGBB in the DIB
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Bitmap::SetPixel(int x, int y, COLORREF color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[y * width_ + x] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

void Bitmap::LoadFromResource(const std::string& name) {
  OwnedBitmap loaded(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!loaded) throw Error("Bitmap resource " + name + " not found");
  BITMAP info{};
  GetObjectA(loaded.get(), sizeof(info), &info);
  Allocate(info.bmWidth, info.bmHeight);
  MemoryDC source(dc_.get());
  ScopedSelect select(source.get(), loaded.get());
  BitBlt(dc_.get(), 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
}

Canvas& Bitmap::GetCanvas() {
  if (!canvas_) canvas_ = std::make_unique<Canvas>(dc_.get());
  return *canvas_;
}

void Bitmap::Draw(Canvas& canvas, int x, int y) const {
  if (Empty()) return;
  HDC target = canvas.Handle();
  if (transparent_) {
    TransparentBlt(target, x, y, width_, height_, DC(), 0, 0, width_, height_, ColorToRGB(TransparentColor()));
  } else {
    BitBlt(target, x, y, width_, height_, DC(), 0, 0, SRCCOPY);
  }
}

void Bitmap::DrawScaled(Canvas& canvas, int x, int y) const {
  if (CurrentDpi() == kDesignDpi || Empty()) return Draw(canvas, x, y);
  HDC target = canvas.Handle();
  int width = Scale(width_), height = Scale(height_);
  if (transparent_) {
    // Smoothing would blend the transparent colour into the edges: stretched pixel by pixel instead.
    TransparentBlt(target, x, y, width, height, DC(), 0, 0, width_, height_, ColorToRGB(TransparentColor()));
    return;
  }
  int mode = SetStretchBltMode(target, HALFTONE);
  POINT origin;
  SetBrushOrgEx(target, 0, 0, &origin);
  StretchBlt(target, x, y, width, height, DC(), 0, 0, width_, height_, SRCCOPY);
  SetBrushOrgEx(target, origin.x, origin.y, nullptr);
  SetStretchBltMode(target, mode);
}

}  // namespace gui
