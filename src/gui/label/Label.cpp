#include "gui/label/Label.h"
#include "gui/core/Canvas.h"
#include "gui/core/Dpi.h"
#include "gui/core/Gdi.h"
#include "gui/core/WinControl.h"
#include "win32/TextCodes.h"

namespace gui {

Label::Label(WinControl* parent, const std::string& caption) : GraphicControl(parent), caption_(caption) {
  AdjustSize();
}

void Label::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  AdjustSize();
  if (pacer_.Due()) Invalidate();
  if (Parent()) Parent()->Host().Announce(EVENT_OBJECT_NAMECHANGE, *this);
}

void Label::Flush() {
  if (pacer_.TakePending()) Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustSize();
}

void Label::FontChanged() {
  AdjustSize();
  Invalidate();
}

void Label::AdjustSize() {
  if (!autoSize_) return;
  // Measured on a memory DC like the screen: the label may not have a window to borrow one from yet, and
  // a percent label is measured many times a second, and taking the screen's own DC is slow under Wine.
  MemoryDC memory;
  HDC dc = memory.get();
  SIZE extent{};
  {
    ScopedSelect font(dc, GetFont().Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const std::wstring caption = win32::WideFromUtf8(caption_);
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    extent.cy = metrics.tmHeight;
  }
  // Kept at 96 dpi, rounded up so that the text still fits at the screen's density.
  SetBounds(Left(), Top(), UnscaleUp(extent.cx), UnscaleUp(extent.cy));
}

void Label::Paint(Canvas& canvas) {
  HDC dc = canvas.Handle();
  ScopedSelect font(dc, GetFont().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(GetFont().GetColor()));
  RECT area{0, 0, PixelWidth(), PixelHeight()};
  std::wstring caption = win32::WideFromUtf8(caption_);
  DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace gui
