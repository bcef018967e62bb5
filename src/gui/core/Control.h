#pragma once
#include <windows.h>
#include <string>
#include "gui/core/Color.h"
#include "gui/core/Font.h"

namespace gui {

class WinControl;

enum class Align { None, Client, Bottom };

// What a control is to a screen reader; None keeps it out of the accessible tree.
enum class AccessibleRole { None, Client, StaticText, Graphic, PushButton };

// Anything placed on a parent: bounds in the parent's client coordinates, visibility, enabling, colour, font.
// Every control's constructor takes its parent first; the parent then owns it and deletes it with itself.
// A control made without a parent is owned by whoever made it until it is handed to a parent (SetParent).
class Control {
 public:
  explicit Control(WinControl* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  WinControl* Parent() const { return parent_; }
  virtual void SetParent(WinControl* parent);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Bounds are kept at 96 dpi; on the parent's window they take the pixels of the current density.
  RECT BoundsRect() const;  // in the parent's client pixels
  int PixelWidth() const;
  int PixelHeight() const;
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  void SetBounds(int left, int top, int width, int height);

  Align GetAlign() const { return align_; }
  void SetAlign(Align align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Visible, and every parent up to the top-level window visible too.
  virtual bool Showing() const;

  Color GetColor() const { return color_; }
  void SetColor(Color color);
  Font& GetFont() { return font_; }
  const Font& GetFont() const { return font_; }

  virtual void Invalidate() = 0;

  // A control being laid out in a designer rather than run; drawn even when hidden.
  bool DesignMode() const { return designMode_; }
  void SetDesignMode(bool on) { designMode_ = on; }

  // An accelerator character offered to every control of a window in turn; true when taken.
  virtual bool DialogChar(char) { return false; }

  // What a screen reader reads and does: role, name, keyboard shortcut ("Alt+N"), default action ("Press").
  virtual AccessibleRole Role() const { return AccessibleRole::None; }
  virtual std::string AccessibleName() const { return {}; }
  virtual std::string AccessibleShortcut() const { return {}; }
  virtual std::string AccessibleDefaultAction() const { return {}; }
  // Starts the default action and returns at once; it then runs as the user's own input does.
  virtual void DoAccessibleDefaultAction() {}

 protected:
  friend class WinControl;  // lays its children out again when the density changes
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void ColorChanged() { Invalidate(); }
  virtual void FontChanged() { Invalidate(); }

 private:
  WinControl* parent_ = nullptr;
  std::string name_;
  int tag_ = 0;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Align align_ = Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  bool designMode_ = false;
  Color color_ = clBtnFace;
  Font font_;
};

}  // namespace gui
