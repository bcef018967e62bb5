#pragma once
#include <windows.h>
#include "gui/core/GraphicControl.h"

namespace gui {

// Shows an icon of the program's resources at its own size from the box's top-left corner.
class IconImage : public GraphicControl {
 public:
  IconImage(WinControl* parent, int resourceId);
  ~IconImage() override;
  void Paint(Canvas& canvas) override;
  AccessibleRole Role() const override { return AccessibleRole::Graphic; }
  int IconWidth() const { return iconWidth_; }

 private:
  HICON icon_ = nullptr;
  int iconWidth_ = 0, iconHeight_ = 0;
};

}  // namespace gui
