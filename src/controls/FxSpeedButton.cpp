#include "controls/FxSpeedButton.h"
#include <cctype>
#include "gui/action/Action.h"
#include "gui/core/Canvas.h"
#include "gui/core/Dpi.h"
#include "gui/core/Gdi.h"
#include "gui/core/WinControl.h"
#include "gui/core/Form.h"
#include "gui/core/Accelerator.h"
#include "gui/core/Events.h"
#include "gui/menu/PopupMenu.h"


TFxSpeedButton::TFxSpeedButton(gui::WinControl* parent) : GraphicControl(parent) {
  SetBounds(Left(), Top(), 100, 23);
  Init();
  alignment_ = taLeftJustify;
  if (parent) {
    // Takes on the parent's colour while ParentColor holds.
    settingColor_ = true;
    SetColor(parent->GetColor());
    settingColor_ = false;
  }
  if (auto* form = dynamic_cast<gui::Form*>(parent)) hotTrackFont_ = form->GetFont();
}

TFxSpeedButton::TFxSpeedButton(gui::WinControl* parent, int left, int width, int top, gui::Color lightColor,
                               gui::Color shadowColor)
    : GraphicControl(parent) {
  SetBounds(left, top, width, 23);
  parentColor_ = false;
  Init();
  lightColor_ = lightColor;
  shadowColor_ = shadowColor;
  alignment_ = taCenter;
}

void TFxSpeedButton::Init() {
  mouseInside_ = false;
  lightColor_ = 0xFFFFFF;
  shadowColor_ = 0x000000;
  colorWhenDown_ = gui::clNone;
  hotTrackColor_ = gui::clNone;
  wordWrap_ = false;
  slowDecease_ = false;
  fadeLevel_ = 0;
}

TFxSpeedButton::~TFxSpeedButton() {
  destroying_ = true;
  StopFadeThread();
}

bool TFxSpeedButton::Reachable() const { return Enabled() && Visible() && Parent() && Parent()->Showing(); }

void TFxSpeedButton::RepaintRule() {
  if (transparent_) Invalidate();
  else Repaint();
}

void TFxSpeedButton::ColorChanged() {
  if (!settingColor_) parentColor_ = false;
  Invalidate();
}

void TFxSpeedButton::SetAlignment(TAlignment value) { alignment_ = value; RepaintRule(); }
void TFxSpeedButton::SetColorWhenDown(gui::Color value) { colorWhenDown_ = value; RepaintRule(); }
void TFxSpeedButton::SetFlat(bool value) { flat_ = value; RepaintRule(); }
void TFxSpeedButton::SetGroupIndex(int value) { groupIndex_ = value; RepaintRule(); }
void TFxSpeedButton::SetLayout(TFxSpeedButtonLayout value) { layout_ = value; RepaintRule(); }
void TFxSpeedButton::SetLightColor(gui::Color value) { lightColor_ = value; RepaintRule(); }
void TFxSpeedButton::SetShadowColor(gui::Color value) { shadowColor_ = value; RepaintRule(); }
void TFxSpeedButton::SetWordWrap(bool value) { wordWrap_ = value; RepaintRule(); }
void TFxSpeedButton::SetNumGlyphs(int value) { numGlyphs_ = value; Invalidate(); }

void TFxSpeedButton::SetCaption(const std::string& value) {
  caption_ = value;
  Invalidate();
}

void TFxSpeedButton::SetTransparent(bool value) {
  transparent_ = value;
  if (value) Invalidate();
  else Repaint();
}

void TFxSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  if (groupIndex_ != 0 && Parent()) {
    for (gui::Control* sibling : std::vector<gui::Control*>(Parent()->Controls())) {
      auto* other = dynamic_cast<TFxSpeedButton*>(sibling);
      if (other && other != this && other->groupIndex_ == groupIndex_) other->SetDown(false);
    }
  }
  down_ = value;
  RepaintRule();
}

void TFxSpeedButton::SetGlyph(const gui::Bitmap* value) {
  if (value) {
    glyph_ = *value;
    numGlyphs_ = glyph_.Height() != 0 ? glyph_.Width() / glyph_.Height() : 0;
  } else {
    glyph_ = gui::Bitmap();
    numGlyphs_ = 0;
  }
  Invalidate();
}

int TFxSpeedButton::DeviceBitsPerPixel() const {
  HWND window = Parent() ? Parent()->HandleIfAllocated() : nullptr;
  gui::WindowDC dc(window);
  return GetDeviceCaps(dc.get(), BITSPIXEL);
}

void TFxSpeedButton::SetStyle(TFxSpeedButtonStyle value) {
  // 256 colours cannot show the gradient.
  if (value == bsModern && !DesignMode() && DeviceBitsPerPixel() <= 8) value = bsNormal;
  style_ = value;
  Invalidate();
}

void TFxSpeedButton::SetSlowDecease(bool value) {
  slowDecease_ = value;
  if (value) {
    if (!fadeThread_) fadeThread_ = std::make_unique<TFxButtonThread>([this](TFxButtonThread&) { FadeStep(); });
  } else if (fadeThread_) {
    fadeLevel_ = 0;
    StopFadeThread();
  }
  Invalidate();
}

void TFxSpeedButton::StopFadeThread() {
  if (!fadeThread_) return;
  // Terminating first makes every tick that still arrives a no-op and keeps the thread from being parked
  // again while we wait; the thread's destructor then wakes it and waits, serving those ticks.
  fadeThread_->Terminate();
  fadeThread_.reset();
}

void TFxSpeedButton::FadeStep() {
  if (destroying_ || !fadeThread_ || fadeThread_->Terminated()) return;
  --fadeLevel_;
  if (fadeLevel_ <= 0) {
    if (!fadeThread_->Suspended()) fadeThread_->Suspend();
    fadeLevel_ = 0;
  }
  RepaintRule();
}

void TFxSpeedButton::MouseEnter() {
  if (!Reachable()) return;
  mouseInside_ = true;
  fadeLevel_ = 8;
  RepaintRule();
  gui::Raise(OnMouseEnter, *this);
}

void TFxSpeedButton::MouseLeave() {
  mouseInside_ = false;
  if (slowDecease_) {
    if (fadeThread_ && fadeThread_->Suspended()) fadeThread_->Resume();
  } else {
    fadeLevel_ = 0;
    RepaintRule();
  }
  if (Reachable()) gui::Raise(OnMouseExit, *this);
}

void TFxSpeedButton::MouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y) {
  GraphicControl::MouseDown(button, shift, x, y);
  if (button != gui::MouseButton::Left) return;
  if (groupIndex_ == 0) SetDown(true);
  else if (down_) { if (allowAllUp_) SetDown(false); }
  else SetDown(true);
}

void TFxSpeedButton::MouseUp(gui::MouseButton button, gui::ShiftState shift, int x, int y) {
  GraphicControl::MouseUp(button, shift, x, y);
  if (groupIndex_ == 0) SetDown(false);
}

void TFxSpeedButton::HandleDoubleClick(WPARAM keys, POINT point) {
  // The second press of a double click is an ordinary press.
  HandleMouseDown(gui::MouseButton::Left, keys, point);
}

void TFxSpeedButton::Click() {
  if (popupMenu_ && Parent()) {
    POINT corner{BoundsRect().left, BoundsRect().bottom};
    ClientToScreen(Parent()->Handle(), &corner);
    popupMenu_->Popup(corner.x, corner.y);
  }
  if (!OnClick && action_) action_->Execute();
  else GraphicControl::Click();
}

bool TFxSpeedButton::DialogChar(char ch) {
  if (!gui::IsAccelerator(caption_, ch) || !Reachable()) return false;
  KeyPress();
  return true;
}

std::string TFxSpeedButton::AccessibleName() const { return gui::WithoutAccelerator(caption_); }

std::string TFxSpeedButton::AccessibleShortcut() const { return gui::ShortcutOf(caption_); }

void TFxSpeedButton::KeyPress() {
  // Drawn down for the click only; the group is left as it is.
  bool wasDown = down_;
  down_ = true;
  Repaint();
  // Drawn back as it was even when the click refuses with an error.
  gui::RunThenAlways([&] { Click(); },
                     [&] {
                       down_ = wasDown;
                       Repaint();
                     });
}

void TFxSpeedButton::SetAction(gui::Action* action) {
  action_ = action;
  if (!action) return;
  SetCaption(action->Caption);
  SetEnabled(action->Enabled);
  ActionChange(*action, false);
}

void TFxSpeedButton::ActionChange(gui::Action& sender, bool) {
  if (sender.ImageIndex < 0 || !glyph_.Empty() || !sender.List || !sender.List->Images()) return;
  const gui::ImageList& images = *sender.List->Images();
  if (sender.ImageIndex >= images.Count()) return;
  glyph_.SetSize(images.Width(), images.Height());
  gui::Canvas& canvas = glyph_.GetCanvas();
  canvas.SetBrushColor(0xFF00FF);
  canvas.FillRect(RECT{0, 0, images.Width(), images.Height()});
  images.Draw(canvas, 0, 0, sender.ImageIndex);
  numGlyphs_ = 1;
  Repaint();
}

void TFxSpeedButton::Paint(gui::Canvas& canvas) {
  if (!Visible() && !DesignMode()) return;
  TFxButtonFace face;
  face.W = PixelWidth();
  face.H = PixelHeight();
  face.Alignment = alignment_;
  face.Caption = caption_;
  face.Layout = layout_;
  face.Font = mouseInside_ && useHotTrackFont_ ? &hotTrackFont_ : &GetFont();
  face.ShadowColor = shadowColor_;
  face.LightColor = lightColor_;
  face.HotTrackColor = hotTrackColor_;
  face.ColorWhenDown = colorWhenDown_;
  face.Color = GetColor();
  face.Style = style_ == bsNormal ? bsModern : style_;
  face.HasPopup = popupMenu_ != nullptr;
  face.WordWrap = wordWrap_;
  face.Flat = flat_;
  face.Enabled = Enabled();
  face.Transparent = transparent_;
  face.MouseInside = mouseInside_;
  face.Down = down_;
  face.Glyph = &glyph_;
  face.NumGlyphs = numGlyphs_;
  face.FadeLevel = fadeLevel_;
  DrawButtonFace(canvas, face);
  if (ShowsFocus()) {
    // Dotted, inside the face's edges; drawn only while the keyboard is on this button.
    const int inset = gui::Scale(3);
    RECT inner{inset, inset, PixelWidth() - inset, PixelHeight() - inset};
    SetTextColor(canvas.Handle(), RGB(0, 0, 0));
    SetBkColor(canvas.Handle(), RGB(255, 255, 255));
    DrawFocusRect(canvas.Handle(), &inner);
  }
}
