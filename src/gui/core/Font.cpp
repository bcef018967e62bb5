#include "gui/core/Font.h"
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

HFONT Font::Handle() const {
  if (handle_) return static_cast<HFONT>(handle_.get());
  FontKey key{name_, height_, style_.bold, style_.italic, style_.underline, style_.strikeOut};
  auto& cache = FontCache();
  if (auto shared = cache[key].lock()) {
    handle_ = shared;
  } else {
    HFONT font = CreateFontW(height_, 0, 0, 0, style_.bold ? FW_BOLD : FW_NORMAL, style_.italic, style_.underline,
                             style_.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, win32::WideFromUtf8(name_).c_str());
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
