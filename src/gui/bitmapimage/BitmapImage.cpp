#include "gui/bitmapimage/BitmapImage.h"
#include "gui/core/Canvas.h"

namespace gui {

BitmapImage::BitmapImage(WinControl* parent) : GraphicControl(parent) {}

void BitmapImage::LoadBitmapResource(const std::string& name) {
  bitmap_.LoadFromResource(name);
  Invalidate();
}

void BitmapImage::Paint(Canvas& canvas) {
  if (!bitmap_.Empty()) canvas.Draw(0, 0, bitmap_);
}

}  // namespace gui
