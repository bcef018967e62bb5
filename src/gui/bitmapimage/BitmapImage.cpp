#include "gui/bitmapimage/BitmapImage.h"
#include "gui/core/Canvas.h"

namespace gui {

BitmapImage::BitmapImage(WinControl* parent) : GraphicControl(parent) {}

void BitmapImage::LoadBitmapResource(const std::string& name) {
  bitmap_.LoadFromResource(name);
  Invalidate();
}

void BitmapImage::Paint(Canvas& canvas) {
  bitmap_.DrawScaled(canvas, 0, 0);
}

}  // namespace gui
