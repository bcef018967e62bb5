#include "gui/picture/Picture.h"
#include "gui/core/Canvas.h"
#include "gui/core/Dpi.h"
#include "gui/core/Error.h"

namespace gui {

Picture::Picture(WinControl* parent) : GraphicControl(parent) {}

void Picture::LoadJpegResource(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw Error(std::string("Picture resource ") + name + " is missing");
  std::string problem;
  if (!DecodeJpeg(static_cast<const std::uint8_t*>(data), SizeofResource(module, found), image_, problem))
    throw Error(std::string("Picture resource ") + name + " is damaged: " + problem);
  drawn_.reset();
  Invalidate();
}

void Picture::SetStretch(bool stretch) {
  stretch_ = stretch;
  drawn_.reset();
  Invalidate();
}

void Picture::Paint(Canvas& canvas) {
  if (image_.pixels.empty()) return;
  HDC dc = canvas.Handle();
  int width = stretch_ ? PixelWidth() : Scale(image_.width);
  int height = stretch_ ? PixelHeight() : Scale(image_.height);
  if (width <= 0 || height <= 0) return;
  if (!drawn_ || width != drawnWidth_ || height != drawnHeight_) {
    drawn_.reset(CreateCompatibleBitmap(dc, width, height));
    drawnWidth_ = width;
    drawnHeight_ = height;
    if (drawn_) {
      MemoryDC memory(dc);
      ScopedSelect select(memory.get(), drawn_.get());
      DrawDecoded(memory.get(), width, height);
    }
  }
  if (!drawn_) {  // out of bitmap memory: draw straight from the decoded pixels
    DrawDecoded(dc, width, height);
    return;
  }
  MemoryDC memory(dc);
  ScopedSelect select(memory.get(), drawn_.get());
  BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void Picture::DrawDecoded(HDC dc, int width, int height) const {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), image_.width, -image_.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  int previousMode = SetStretchBltMode(dc, HALFTONE);
  POINT origin;
  SetBrushOrgEx(dc, 0, 0, &origin);
  StretchDIBits(dc, 0, 0, width, height, 0, 0, image_.width, image_.height, image_.pixels.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
  SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  SetStretchBltMode(dc, previousMode);
}

}  // namespace gui
