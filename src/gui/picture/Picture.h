#pragma once
#include <string>
#include "gui/core/Gdi.h"
#include "gui/core/GraphicControl.h"
#include "gui/picture/JpegDecoder.h"

namespace gui {

// A JPEG picture from the program's resources, decoded once, drawn at its own size from the box's
// top-left corner (clipped by the box) or stretched to fill the box.
class Picture : public GraphicControl {
 public:
  explicit Picture(WinControl* parent);

  void LoadJpegResource(const char* name);  // an RCDATA resource; raises gui::Error when unreadable
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  int PictureWidth() const { return image_.width; }
  int PictureHeight() const { return image_.height; }

  void Paint(Canvas& canvas) override;

 private:
  DecodedImage image_;
  bool stretch_ = false;
};

}  // namespace gui
