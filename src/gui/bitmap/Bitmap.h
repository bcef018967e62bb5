#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "gui/core/Color.h"
#include "gui/core/Gdi.h"

namespace gui {

class Canvas;

// A 32-bit device-independent bitmap with a canvas of its own. A transparent bitmap is drawn
// without the pixels of its transparent colour, which is its bottom-left pixel.
class Bitmap {
 public:
  Bitmap();
  Bitmap(int width, int height);
  ~Bitmap();
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // Keeps the top-left pixels that still fit; new pixels are black.
  void SetSize(int width, int height);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  Color TransparentColor() const;

  // A bitmap resource of the program, by name; throws when there is none.
  void LoadFromResource(const std::string& name);

  Canvas& GetCanvas();
  // Draws the bitmap at (x, y) on canvas; a transparent bitmap leaves its transparent colour's pixels untouched.
  void Draw(Canvas& canvas, int x, int y) const;
  // The same at the screen's density: its 96-dpi size scaled, smoothed when stretched.
  void DrawScaled(Canvas& canvas, int x, int y) const;
  HDC DC() const { return dc_.get(); }
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, COLORREF color);

 private:
  void Allocate(int width, int height);

  int width_ = 0, height_ = 0;
  bool transparent_ = false;
  MemoryDC dc_;
  OwnedBitmap bitmap_;
  HGDIOBJ originalBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  std::unique_ptr<Canvas> canvas_;
};

}  // namespace gui
