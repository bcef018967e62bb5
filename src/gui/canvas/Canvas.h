#pragma once
#include <windows.h>

namespace gui {

// Drawing on a device context. The DC is borrowed: whoever made it releases it.
class Canvas {
 public:
  explicit Canvas(HDC dc) : dc_(dc) {}
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace gui
