#pragma once
#include <string>
#include "gui/bitmap/Bitmap.h"
#include "gui/core/GraphicControl.h"

namespace gui {

// A bitmap from the program's resources, drawn at its own size from the box's top-left corner.
class BitmapImage : public GraphicControl {
 public:
  explicit BitmapImage(WinControl* parent);
  void LoadBitmapResource(const std::string& name);  // raises gui::Error when there is none
  const Bitmap& Picture() const { return bitmap_; }
  void Paint(Canvas& canvas) override;
  AccessibleRole Role() const override { return AccessibleRole::Graphic; }

 private:
  Bitmap bitmap_;
};

}  // namespace gui
