#pragma once
#include <memory>
#include <string>
#include "controls/FxButtonThread.h"
#include "controls/FxButtons.h"
#include "controls/FxColorPresets.h"
#include "gui/bitmap/Bitmap.h"
#include "gui/core/GraphicControl.h"

namespace gui {
class Action;
class PopupMenu;
}  // namespace gui

// A windowless push button that paints its own face in one of six styles, with glyphs, radio groups,
// a drop-down menu and a hot-track colour that can fade back in eight steps after the mouse leaves.
class TFxSpeedButton : public gui::GraphicControl {
 public:
  explicit TFxSpeedButton(gui::WinControl* parent);
  // For button bars: the parent, then left, width, top and the edge colours.
  TFxSpeedButton(gui::WinControl* parent, int left, int width, int top, gui::Color lightColor,
                 gui::Color shadowColor);
  ~TFxSpeedButton() override;

  gui::Action* Action() const { return action_; }
  void SetAction(gui::Action* action);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  gui::Color ColorWhenDown() const { return colorWhenDown_; }
  void SetColorWhenDown(gui::Color value);
  TFxColorStyle ColorStyle() const { return fcsCustom; }  // presets are applied, not recorded
  void SetColorStyle(TFxColorStyle value) { ApplyColorStyle(*this, value); }
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  const gui::Bitmap& Glyph() const { return glyph_; }
  void SetGlyph(const gui::Bitmap* value);  // nullptr empties it
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  gui::Color HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(gui::Color value) { hotTrackColor_ = value; }
  gui::Font& HotTrackFont() { return hotTrackFont_; }
  void SetHotTrackFont(const gui::Font& value) { hotTrackFont_ = value; }
  TFxSpeedButtonLayout Layout() const { return layout_; }
  void SetLayout(TFxSpeedButtonLayout value);
  gui::Color LightColor() const { return lightColor_; }
  void SetLightColor(gui::Color value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  bool ParentColor() const { return parentColor_; }
  gui::PopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(gui::PopupMenu* menu) { popupMenu_ = menu; }
  gui::Color ShadowColor() const { return shadowColor_; }
  void SetShadowColor(gui::Color value);
  bool SlowDecease() const { return slowDecease_; }
  void SetSlowDecease(bool value);
  TFxSpeedButtonStyle Style() const { return style_; }
  void SetStyle(TFxSpeedButtonStyle value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool UseHotTrackFont() const { return useHotTrackFont_; }
  void SetUseHotTrackFont(bool value) { useHotTrackFont_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  gui::NotifyEvent OnMouseEnter;
  gui::NotifyEvent OnMouseExit;

  bool MouseInside() const { return mouseInside_; }
  int FadeLevel() const { return fadeLevel_; }
  const TFxButtonThread* FadeThread() const { return fadeThread_.get(); }

  void Paint(gui::Canvas& canvas) override;
  bool DialogChar(char ch) override;
  void KeyPress() override;  // drawn down for the click, as by the access key

  gui::AccessibleRole Role() const override { return gui::AccessibleRole::PushButton; }
  std::string AccessibleName() const override;
  std::string AccessibleShortcut() const override;
  std::string AccessibleDefaultAction() const override { return "Press"; }
  void DoAccessibleDefaultAction() override { PostClick(); }
  void MouseEnter() override;
  void MouseLeave() override;
  void HandleDoubleClick(WPARAM keys, POINT point) override;

 protected:
  void MouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y) override;
  void MouseUp(gui::MouseButton button, gui::ShiftState shift, int x, int y) override;
  void Click() override;
  void ColorChanged() override;
  virtual void ActionChange(gui::Action& sender, bool checkDefaults);
  // Colour depth of the device the button paints on.
  virtual int DeviceBitsPerPixel() const;

 private:
  friend void ApplyColorStyle(TFxSpeedButton&, TFxColorStyle);
  void Init();
  void RepaintRule();
  void FadeStep();
  void StopFadeThread();
  bool Reachable() const;

  gui::Action* action_ = nullptr;
  TAlignment alignment_ = taLeftJustify;
  bool allowAllUp_ = false;
  std::string caption_;
  gui::Color colorWhenDown_ = gui::clNone;
  bool down_ = false;
  bool flat_ = false;
  gui::Bitmap glyph_;
  int groupIndex_ = 0;
  gui::Color hotTrackColor_ = gui::clNone;
  gui::Font hotTrackFont_;
  TFxSpeedButtonLayout layout_ = blGlyphLeft;
  gui::Color lightColor_ = 0xFFFFFF;
  int numGlyphs_ = 0;
  bool parentColor_ = true;
  gui::PopupMenu* popupMenu_ = nullptr;  // borrowed
  gui::Color shadowColor_ = 0x000000;
  bool slowDecease_ = false;
  TFxSpeedButtonStyle style_ = bsNormal;
  bool transparent_ = false;
  bool useHotTrackFont_ = false;
  bool wordWrap_ = false;

  bool mouseInside_ = false;
  int fadeLevel_ = 0;
  bool destroying_ = false;
  bool settingColor_ = false;
  std::unique_ptr<TFxButtonThread> fadeThread_;
};
