#include "gui/core/Control.h"
#include "gui/core/Dpi.h"
#include "gui/core/WinControl.h"

namespace gui {

Control::Control(WinControl* parent) {
  if (parent) {
    font_ = parent->GetFont();
    parent_ = parent;
    parent->InsertChild(this);
  }
  font_.OnChange = [this] { FontChanged(); };
}

Control::~Control() {
  if (parent_) parent_->RemoveChild(this);
}

void Control::SetParent(WinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveChild(this);
  parent_ = parent;
  if (parent_) parent_->InsertChild(this);
}

void Control::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged();
}

RECT Control::BoundsRect() const {
  // A top-level window's bounds are the screen's pixels already.
  if (!parent_) return {left_, top_, left_ + width_, top_ + height_};
  int left = Scale(left_), top = Scale(top_);
  return {left, top, left + Scale(width_), top + Scale(height_)};
}

int Control::PixelWidth() const { return parent_ ? Scale(width_) : width_; }
int Control::PixelHeight() const { return parent_ ? Scale(height_) : height_; }

void Control::SetAlign(Align align) {
  align_ = align;
  if (parent_) parent_->Realign();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

bool Control::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void Control::SetColor(Color color) {
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

}  // namespace gui
