#include "gui/core/PaintBuffer.h"
#include <algorithm>
#include "gui/core/Events.h"
#include "gui/core/Gdi.h"

namespace gui {

namespace {

// The off-screen bitmap that every window of the GUI thread paints into before it shows the result: kept
// and grown to the largest area asked for, because making and zeroing a fresh one for every paint is what
// a slide's many small paints cost most. A paint inside a paint (never expected) gets one of its own.
class PaintBuffer {
 public:
  PaintBuffer() = default;
  ~PaintBuffer() {
    if (selected_) SelectObject(dc_.get(), selected_);  // a bitmap still selected could not be deleted
  }
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  // Selects a bitmap of at least width x height into the buffer's DC and saves the DC's state; Release
  // brings the state back, so that every paint starts from a fresh DC's defaults.
  HDC Acquire(HDC screen, int width, int height) {
    if (inUse_) return nullptr;
    if (!bitmap_ || width > width_ || height > height_) {
      if (selected_) SelectObject(dc_.get(), selected_);
      width_ = std::max(width, width_);
      height_ = std::max(height, height_);
      bitmap_.reset(CreateCompatibleBitmap(screen, width_, height_));
      if (!bitmap_) return nullptr;
      selected_ = SelectObject(dc_.get(), bitmap_.get());
    }
    inUse_ = true;
    saved_ = SaveDC(dc_.get());
    return dc_.get();
  }
  void Release() {
    RestoreDC(dc_.get(), saved_);
    inUse_ = false;
  }

 private:
  MemoryDC dc_;
  OwnedBitmap bitmap_;
  HGDIOBJ selected_ = nullptr;  // what the DC held before our bitmap
  int width_ = 0, height_ = 0, saved_ = 0;
  bool inUse_ = false;
};

PaintBuffer& SharedPaintBuffer() {
  static PaintBuffer buffer;
  return buffer;
}

}  // namespace

void PaintBuffered(PaintDC& paint, const std::function<void(HDC dc, const RECT& area)>& draw) {
  const RECT& area = paint.area();
  int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  auto paintThrough = [&](HDC buffer) {
    SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
    draw(buffer, area);
    SetViewportOrgEx(buffer, 0, 0, nullptr);
    BitBlt(paint.get(), area.left, area.top, w, h, buffer, 0, 0, SRCCOPY);
  };
  PaintBuffer& shared = SharedPaintBuffer();
  if (HDC buffer = shared.Acquire(paint.get(), w, h)) {
    RunThenAlways([&] { paintThrough(buffer); }, [&] { shared.Release(); });
    return;
  }
  MemoryDC buffer(paint.get());
  OwnedBitmap bitmap(CreateCompatibleBitmap(paint.get(), w, h));
  ScopedSelect select(buffer.get(), bitmap.get());
  paintThrough(buffer.get());
}

}  // namespace gui
