#pragma once
#include <string>
#include "gui/core/Gdi.h"
#include "gui/core/GraphicControl.h"
#include "gui/picture/JpegDecoder.h"

namespace gui {

// A JPEG picture from the program's resources, decoded once, drawn at its own size from the box's
// top-left corner (clipped by the box) or stretched to fill the box. What it draws is kept as a bitmap
// made at the first paint: a slide repaints the picture strip by strip, and stretching it anew for each
// strip costs a hundred times more than copying.
class Picture : public GraphicControl {
 public:
  explicit Picture(WinControl* parent);

  void LoadJpegResource(const char* name);  // an RCDATA resource; raises gui::Error when unreadable
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  int PictureWidth() const { return image_.width; }
  int PictureHeight() const { return image_.height; }

  void Paint(Canvas& canvas) override;
  AccessibleRole Role() const override { return AccessibleRole::Graphic; }

 private:
  // Draws the decoded picture at width x height onto dc, as every paint shows it.
  void DrawDecoded(HDC dc, int width, int height) const;

  DecodedImage image_;
  bool stretch_ = false;
  OwnedBitmap drawn_;  // the picture as drawn at drawnWidth_ x drawnHeight_
  int drawnWidth_ = 0, drawnHeight_ = 0;
};

}  // namespace gui
