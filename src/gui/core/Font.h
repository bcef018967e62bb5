#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include "gui/core/Color.h"

namespace gui {

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const FontStyle&) const = default;
};

// A control's font: face name, character height (negative, in pixels at 96 dpi), colour and style.
// The GDI font behind it is shared by every Font with the same face, height and style.
class Font {
 public:
  static constexpr const char* kDefaultName = "MS Sans Serif";
  static constexpr int kDefaultHeight = -11;

  Font() = default;
  Font(const Font& other) : name_(other.name_), height_(other.height_), color_(other.color_), style_(other.style_) {}
  Font& operator=(const Font& other);  // assigns the attributes and raises OnChange; keeps OnChange

  const std::string& Name() const { return name_; }
  int Height() const { return height_; }
  Color GetColor() const { return color_; }
  const FontStyle& Style() const { return style_; }
  void SetName(const std::string& name);
  void SetHeight(int height);
  void SetColor(Color color);
  void SetStyle(const FontStyle& style);
  void SetBold(bool bold);

  HFONT Handle() const;

  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_ = kDefaultName;
  int height_ = kDefaultHeight;
  Color color_ = clWindowText;
  FontStyle style_{};
  mutable std::shared_ptr<void> handle_;  // HFONT, deleted when the last Font using it lets go
  mutable int handleDpi_ = 0;             // the density handle_ was made for
};

}  // namespace gui
