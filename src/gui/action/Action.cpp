#include "gui/action/Action.h"
#include "gui/core/Canvas.h"

namespace gui {

void ImageList::Add(const Bitmap& image) {
  Bitmap copy(image);
  copy.SetSize(width_, height_);
  copy.SetTransparent(true);
  images_.push_back(std::move(copy));
}

void ImageList::Draw(Canvas& canvas, int x, int y, int index) const {
  if (index < 0 || index >= Count()) return;
  images_[index].Draw(canvas, x, y);
}

}  // namespace gui
