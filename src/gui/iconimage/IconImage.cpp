#include "gui/iconimage/IconImage.h"
#include "gui/core/Canvas.h"
#include "gui/core/Dpi.h"

namespace gui {

IconImage::IconImage(WinControl* parent, int resourceId) : GraphicControl(parent) {
  icon_ = static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 32, 32, 0));  // the 96-dpi size
  if (icon_) {
    ICONINFO info{};
    if (GetIconInfo(icon_, &info)) {
      BITMAP bitmap{};
      GetObject(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
      iconWidth_ = bitmap.bmWidth;
      iconHeight_ = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
  }
}

IconImage::~IconImage() {
  if (icon_) DestroyIcon(icon_);
}

void IconImage::Paint(Canvas& canvas) {
  if (!icon_) return;
  int mode = SetStretchBltMode(canvas.Handle(), HALFTONE);  // smoothed when drawn larger
  DrawIconEx(canvas.Handle(), 0, 0, icon_, Scale(iconWidth_), Scale(iconHeight_), 0, nullptr, DI_NORMAL);
  SetStretchBltMode(canvas.Handle(), mode);
}

}  // namespace gui
