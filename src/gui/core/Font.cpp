#include "gui/core/Font.h"
#include "gui/core/Dpi.h"
#include "gui/core/Gdi.h"
#include <map>
#include <tuple>
#include "win32/TextCodes.h"

namespace gui {

namespace {

using FontKey = std::tuple<std::string, int, bool, bool, bool, bool>;

std::map<FontKey, std::weak_ptr<void>>& FontCache() {
  static std::map<FontKey, std::weak_ptr<void>> cache;
  return cache;
}

}  // namespace

Font& Font::operator=(const Font& other) {
  if (this != &other) {
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    Changed();
  }
  return *this;
}

void Font::SetName(const std::string& name) { if (name != name_) { name_ = name; Changed(); } }
void Font::SetHeight(int height) { if (height != height_) { height_ = height; Changed(); } }
void Font::SetColor(Color color) { if (color != color_) { color_ = color; if (OnChange) OnChange(); } }
void Font::SetStyle(const FontStyle& style) { if (!(style == style_)) { style_ = style; Changed(); } }
void Font::SetBold(bool bold) {
  FontStyle style = style_;
  style.bold = bold;
  SetStyle(style);
}

void Font::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

namespace {

// The system's TrueType face for dialog text.
std::string UiFace() {
  static const std::string face = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    std::string name;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      name = win32::Utf8FromWide(metrics.lfMessageFont.lfFaceName);
    return name.empty() ? std::string("Tahoma") : name;
  }();
  return face;
}

}  // namespace

HFONT Font::Handle() const {
  const int dpi = CurrentDpi();
  if (handle_ && handleDpi_ == dpi) return static_cast<HFONT>(handle_.get());
  handleDpi_ = dpi;
  // The bitmap face has sizes for 96 and 120 dpi only; denser screens get a face that scales crisply.
  const std::string face = dpi > 120 && name_ == kDefaultName ? UiFace() : name_;
  const int height = Scale(height_);
  FontKey key{face, height, style_.bold, style_.italic, style_.underline, style_.strikeOut};
  auto& cache = FontCache();
  if (auto shared = cache[key].lock()) {
    handle_ = shared;
  } else {
    HFONT font = CreateFontW(height, 0, 0, 0, style_.bold ? FW_BOLD : FW_NORMAL, style_.italic, style_.underline,
                             style_.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, win32::WideFromUtf8(face).c_str());
    // Shared by every font of the same face and size; counted with the other GDI objects our types own.
    if (font) ++liveGdiObjects;
    handle_ = std::shared_ptr<void>(font, [](void* h) {
      if (!h) return;
      DeleteObject(static_cast<HFONT>(h));
      --liveGdiObjects;
    });
    cache[key] = handle_;
  }
  return static_cast<HFONT>(handle_.get());
}

}  // namespace gui
